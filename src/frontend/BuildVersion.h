// The version of mosk-solve and mosk, fixed when they are built.
#pragma once

#include <string>

// The release, "0.1.0".
const char* BuildVersion();

// The git commit the sources were at ("1a2b3c4d5e", "-dirty" added when they
// had changes), or "" when they were not a git checkout.
const char* BuildCommit();

// "mosk-solve 0.1.0 (git 1a2b3c4d5e)", or without the commit part.
std::string VersionLine();
