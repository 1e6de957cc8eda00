// Verbose progress lines of the pipeline.
#include "run/Progress.h"

#include "foundation/RunState.h"

#include <iostream>

void AnnounceStep(const char* line)
{
    if (DEBUG) std::cout << '\n' << line << std::endl;
}

void FinishStep(const char* line)
{
    if (DEBUG) std::cout << line << std::endl;
}
