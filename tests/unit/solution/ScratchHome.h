// A fresh directory per test that is also HOME (where the per-user file is
// read), removed with everything in it at the end; the death tests of the
// solver's and the workers' failures.
#pragma once

#include "TempDir.h"
#include "foundation/RunState.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class ScratchHome : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* home = std::getenv("HOME")) old_home_ = home;
        setenv("HOME", dir_.c_str(), 1);
        DEBUG = SHOW_LGS = SHOW_COMM = SHOW_INFOS = 0;
    }

    void TearDown() override
    {
        TmpDir = nullptr;
        setenv("HOME", old_home_.c_str(), 1);
    }

    void Write(const std::string& path, const std::string& text) const
    {
        std::ofstream(dir_ + path) << text;
    }

    TempDir scratch_;
    std::string dir_ = scratch_.path;
    std::string old_home_;
};

// Runs a statement that ends the process with an error report on standard
// output, which is joined to standard error where the death test matches
// it. `status` is the exit status as the program passes it (a negative
// module status is seen modulo 256).
#define EXPECT_STDOUT_EXIT(statement, status, pattern) \
    EXPECT_EXIT(                                       \
        {                                              \
            std::fflush(stdout);                       \
            dup2(STDERR_FILENO, STDOUT_FILENO);        \
            statement;                                 \
        },                                             \
        testing::ExitedWithCode((status)&0xff), pattern)
