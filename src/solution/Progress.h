// Progress lines of the solution stages: printed only with the verbose
// switch, each flushed so that a watching front end sees it at once.
#pragma once

#include "foundation/RunState.h"

#include <iostream>

inline void Progress(const char* line)
{
    if (DEBUG) std::cout << line << std::endl;
}
