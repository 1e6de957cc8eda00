// Turns a failed mosk run into one line: what went wrong and what to try.
// mosk's exit status names the stage that failed; its error report
// ("ERROR occured" with labelled lines) supplies the details.
#pragma once

#include <string>

// The labelled fields of the last error report in `output` (empty when absent).
struct ErrorReport {
    std::string line;
    std::string function;
    std::string description;
    std::string info1;
    std::string info2;
};

ErrorReport FindErrorReport(const std::string& output);

// The one-line summary for exit status `status` of mosk.
std::string FailureSummary(int status, const std::string& output);

// Whether the run failed in the direct solver on a matrix it cannot
// eliminate (a zero pivot, nothing to eliminate), so the iterative method is
// worth a try; `reason` then holds mosk's message without its indentation.
// Repeated entries are summed when mosk reads the chain, so they never stop
// the direct solver and are no reason to retry.
bool DirectSolverGaveUp(int status, const std::string& output, std::string& reason);
