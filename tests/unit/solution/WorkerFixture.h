// A scratch installation for runs of the workers: TmpD, BinD, HOME with the
// per-user file naming this host, the net name "net" and the run's
// parameters; writers for scripts and the per-user file.
#pragma once

#include "ScratchHome.h"

#include <sys/stat.h>
#include <climits>
#include <csignal>

class WorkerFixture : public ScratchHome {
protected:
    void SetUp() override
    {
        ScratchHome::SetUp();
        for (const char* sub : {"/bin", "/tmp", "/log"})
            std::filesystem::create_directory(dir_ + sub);
        TmpD = (dir_ + "/tmp").c_str();
        TmpDir = const_cast<char*>(TmpD.GetCChar());
        BinD = (dir_ + "/bin").c_str();
        PLENARRC = (dir_ + "/.Plenar").c_str();
        netname = "net";
        epsilon = 1e-7;
        execmode = 1;
        Plenar("");
    }

    // Runs install the child-termination handler, which would take the
    // children of later death tests from the test framework.
    void TearDown() override
    {
        std::signal(SIGCHLD, SIG_DFL);
        ScratchHome::TearDown();
    }

    void Script(const std::string& path, const char* text) const
    {
        Write(path, text);
        chmod((dir_ + path).c_str(), 0755);
    }

    // A per-user file whose host list names this host, then `settings`.
    void Plenar(const std::string& settings) const
    {
        Write("/.Plenar", "HOSTLISTSTART\n" + ThisHost() + "\nHOSTLISTEND\n" + settings);
    }

    static std::string ThisHost()
    {
        char name[HOST_NAME_MAX + 1] = "";
        gethostname(name, sizeof name);
        return name;
    }
};
