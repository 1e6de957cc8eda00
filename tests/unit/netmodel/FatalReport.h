// Death-test support: the net model reports errors on standard output and
// exits with -4 (252); the expectation compares the printed block exactly.
#pragma once

#include <string>

#include "ReportExit.h"

inline std::string EscapedForRegex(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos) out += '\\';
        out += c;
    }
    return out;
}

// The lines of an error block from "file" to "description", as a pattern.
inline std::string ErrorBlock(const std::string& file, int line, const std::string& function,
                              const std::string& description)
{
    std::string block = "file\t\t : " + file + "\nline\t\t : " + std::to_string(line) +
                        "\nfunction \t : " + function + "\ndescription\t : " + description + "\n";
    return EscapedForRegex(block);
}

#define EXPECT_NET_EXIT(statement, pattern) EXPECT_REPORT_EXIT(statement, 252, pattern)

#define EXPECT_NET_FATAL(statement, file, line, function, description) \
    EXPECT_NET_EXIT(statement, ErrorBlock(file, line, function, description))
