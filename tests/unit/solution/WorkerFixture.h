// A scratch installation for runs of the workers: TmpD, BinD, HOME with the
// per-user file naming this host, the net name "net" and the run's
// parameters; writers for scripts and the per-user file.
#pragma once

#include "foundation/RunState.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class WorkerFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/mosk-workers-XXXXXX";
        dir_ = mkdtemp(pattern);
        for (const char* sub : {"/bin", "/tmp", "/log"})
            std::filesystem::create_directory(dir_ + sub);
        TmpD = (dir_ + "/tmp").c_str();
        TmpDir = const_cast<char*>(TmpD.GetCChar());
        BinD = (dir_ + "/bin").c_str();
        PLENARRC = (dir_ + "/.Plenar").c_str();
        if (const char* home = std::getenv("HOME")) old_home_ = home;
        setenv("HOME", dir_.c_str(), 1);
        netname = "net";
        epsilon = 1e-7;
        execmode = 1;
        DEBUG = SHOW_COMM = SHOW_INFOS = 0;
        Plenar("");
    }

    // Runs install the child-termination handler, which would take the
    // children of later death tests from the test framework.
    void TearDown() override
    {
        std::signal(SIGCHLD, SIG_DFL);
        TmpDir = nullptr;
        setenv("HOME", old_home_.c_str(), 1);
        std::filesystem::remove_all(dir_);
    }

    void Script(const std::string& path, const char* text) const
    {
        std::ofstream(dir_ + path) << text;
        chmod((dir_ + path).c_str(), 0755);
    }

    // A per-user file whose host list names this host, then `settings`.
    void Plenar(const std::string& settings) const
    {
        std::ofstream(dir_ + "/.Plenar") << "HOSTLISTSTART\n"
                                         << ThisHost() << "\nHOSTLISTEND\n"
                                         << settings;
    }

    static std::string ThisHost()
    {
        char name[HOST_NAME_MAX + 1] = "";
        gethostname(name, sizeof name);
        return name;
    }

    std::string dir_;
    std::string old_home_;
};
