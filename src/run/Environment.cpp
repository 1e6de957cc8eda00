// Environment variables and directories, checked in a fixed order so that
// the first missing piece is the one reported.
#include "run/Environment.h"

#include "foundation/RunState.h"
#include "run/PathNames.h"
#include "run/RunExit.h"

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <iostream>

namespace {

Str RequiredVariable(const char* name)
{
    const char* value = std::getenv(name);
    if (!value) {
        std::cout << "\n\ncan't get environment variable " << name << "\n\n";
        AbortRun();
    }
    return Str(value);
}

void RequireReadableFile(const Str& path)
{
    std::FILE* file = std::fopen(path.GetCChar(), "r");
    if (!file) {
        std::cout << "\n\ncan't open file " << path.GetCChar() << "\n\n";
        AbortRun();
    }
    std::fclose(file);
}

void RequireDirectory(const Str& path)
{
    DIR* dir = opendir(path.GetCChar());
    if (!dir) {
        std::cout << "\n\ncan't open directory " << path.GetCChar() << "\n\n";
        AbortRun();
    }
    closedir(dir);
}

void EchoEnvironment()
{
    std::cout << "\t HOME          = " << HomeD.GetCChar() << '\n'
              << "\t PLENARHOME      = " << PLENARD.GetCChar() << '\n'
              << "\t MODELDIR      = " << ModelD.GetCChar() << '\n'
              << "\t bin directory = " << BinD.GetCChar() << '\n'
              << "\t tmp directory = " << TmpD.GetCChar() << '\n'
              << "\t plenar file  = " << PLENARRC.GetCChar() << std::endl;
}

}  // namespace

void CheckEnviron()
{
    HomeD = RequiredVariable("HOME");
    PLENARD = RequiredVariable("PLENARHOME");
    ModelD = RequiredVariable("MODELDIR");

    PLENARRC = HomeD + "/.Plenar";
    ScrD = PLENARD + "/Pendra/scripts";
    TmpD = TmpPfad(netname);
    BinD = PLENARD + "/Pendra/bin";
    dir_name = TmpPfad(netname);
    purename = PureName(netname, subname);

    // The solver code reads the directory as a plain C string it does not own.
    std::free(TmpDir);
    TmpDir = TmpD.GetCopy();

    RequireReadableFile(PLENARRC);
    RequireDirectory(PLENARD);
    RequireDirectory(TmpD);
    RequireDirectory(ScrD);
    RequireDirectory(BinD);

    if (SHOW_ENV) EchoEnvironment();
}
