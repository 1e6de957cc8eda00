// Shared checks of the end-to-end tests: a private directory per test, the
// chain files compared with expected rows, and what a successful and a
// failed worker run must look like to the engine.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "TempDir.h"
#include "harness/WorkerRun.h"

class WorkerFixture : public ::testing::Test {
protected:
    std::string ModelPath() const { return dir + "/net"; }
    std::string ChainFile(const char* kind, int classNumber) const;

    // Exit 0, nothing on standard output, the CPU line the engine parses
    // (checked by the caller) and "ready." last.
    void ExpectSuccess(const WorkerResult& result) const;
    // Exit 1, no chain file of the class, no "ready.", an error line for the
    // engine, and the message (containing `reason`) on standard error.
    void ExpectFailure(const WorkerResult& result, int classNumber,
                       const std::string& reason) const;
    // The rows of a chain file equal the expected rows within `tolerance`
    // (relative for values above 1); entries absent from `expected` must be
    // below the tolerance.
    void ExpectRows(const char* kind, int classNumber, const ChainRows& expected,
                    double tolerance) const;

    TempDir scratch;
    std::string dir = scratch.path;
};
