// One mosk-solve run from the checked command line to the printed report:
// prepare the run directory, run mosk (again in the iterative mode when the
// direct solver gives up), collect the results, print them, clean up.
#pragma once

#include <ostream>

#include "frontend/SolveOptions.h"

// Returns the exit status of mosk-solve. Results go to `out`; mosk's output
// (with --verbose, or when it fails) and all notes go to `err`.
int RunSolveSession(const SolveOptions& options, std::ostream& out, std::ostream& err);
