// A fresh directory per test that is also HOME (where the per-user file is
// read), removed with everything in it at the end.
#pragma once

#include "ReportExit.h"
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
