// The deterministic workers: every deterministic subordinated chain is
// analysed over its delay by a kiln_da process, locally or on another host,
// which writes the chain's rows into the numbered chain files.
#pragma once

#include "solution/KilnInfo.h"

// Runs the workers for `count` planned records; `total` is the sum of their
// efforts. On return every record is finished.
void ExecuteKilnProcesses(kilninfo*& infos, int& count, double& total);
