// Test support: the reader runs once per process and every error ends the
// process, so each test runs its description in a forked child and looks at
// the child's exit status and standard output.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

struct ChildRun {
    int status;          // exit status as the parent shell sees it
    std::string output;  // everything the child wrote on standard output
};

ChildRun RunInChild(const std::function<void()>& body);

// Points the scanner at the description (the end byte 0xFF is appended) and
// parses it.
void Parse(const std::string& description);
// Parse, class check and net-wide tables.
void ParseAndCheck(const std::string& description);

// A description of one root page with these sections.
std::string Net(const std::string& elementary, const std::string& product,
                const std::string& transitions, const std::string& evaluation = "");

// What `describe` gives after the description was read (and checked, with
// `check`) in a child, whose status must be 0.
std::string Described(const std::string& description, std::string (*describe)(),
                      bool check = false);
