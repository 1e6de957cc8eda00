// Before mosk is started: a net with deterministic delays needs the worker
// kiln_da, one with uniform or general delays ekiln. Without them mosk
// would build the whole graph first and then wait for a worker that never
// comes; the check says so at once.
#pragma once

#include <string>
#include <vector>

#include "frontend/RunDirectory.h"

// The workers the description's delays need, in the order kiln_da, ekiln.
std::vector<std::string> WorkersNeeded(const std::string& description);

// What is missing, as one line ("" when nothing is): for a private
// installation the workers found (`found`), otherwise the programs in
// `userPlenarHome`/Pendra/bin. `status` is then the exit status of the
// stage that would have failed (243 for kiln_da, 242 for ekiln).
std::string MissingWorker(const std::string& description, const std::vector<WorkerLink>& found,
                          const std::string& userPlenarHome, int& status);
