// The line of --version.
#include "frontend/BuildVersion.h"

std::string VersionLine()
{
    const std::string commit = BuildCommit();
    return std::string("mosk-solve ") + BuildVersion() +
           (commit.empty() ? "" : " (git " + commit + ")");
}
