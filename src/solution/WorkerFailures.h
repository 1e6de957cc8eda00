// A worker that ends without its results (its connection closes without
// "ready.") leaves its chain's rows missing, which the solver cannot tell;
// the run would then end in the solver, far from the cause. Where the run
// asks for it ("WORKER FAILURES STOP" in .Plenar), such a worker ends the
// run at once with the report of its stage, carrying the worker's own
// account of what went wrong.
#pragma once

#include <string>

// Whether the per-user file asks to stop (read once; false when unreadable).
bool StopOnWorkerFailure();

// Whether a worker's line is its account of a failure, "<program> error: ...".
bool IsWorkerErrorLine(const std::string& line);

// The text for the report: the worker's account of its failure without the
// word "error:" ("ekiln: the distribution ... is rejected: ..."), or what was
// seen when it gave none.
std::string WorkerFailureText(const std::string& account);
