// Ending the run after a run-control failure.
#include "run/RunExit.h"

#include "foundation/Reporters.h"

#include <cstdlib>
#include <iostream>

void AbortRun()
{
    std::cout.flush();
    std::exit(kExitRunControl);
}
