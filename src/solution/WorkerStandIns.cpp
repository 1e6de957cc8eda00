// TEMPORARY: stand-ins until the worker protocols are built; delete this file then.
#include "foundation/Reporters.h"
#include "solution/ExecEkiln.h"
#include "solution/ExecKiln.h"

void ExecuteKilnProcesses(kilninfo*&, int&, double&)
{
    ExRErr("ExecuteKilnProcesses()", "kiln workers are not available yet", nullptr, 1);
}
void ExecuteEkilnProcesses(int&, int&, PtrList<SMChain>&)
{
    ExError(1, "ExecuteEkilnProcesses()", "ekiln workers are not available yet");
}
