// The safeguard lines of a run.
#include "frontend/RunSafeguards.h"

std::string SafeguardLines(const SolveOptions& options)
{
    const bool stopUnbounded = !options.acceptCappedCounts || options.strict;
    std::string lines = std::string("CAPPED COUNTS ") +
                        (options.acceptCappedCounts ? "WARN" : "STOP") + "\n" +
                        "UNBOUNDED PLACES " + (stopUnbounded ? "STOP" : "WARN") + "\n" +
                        "WORKER FAILURES STOP\n";
    if (!options.maxMarkings.empty()) lines += "MAX MARKINGS " + options.maxMarkings + "\n";
    if (!options.maxMemory.empty()) lines += "MAX GRAPH MEMORY " + options.maxMemory + "\n";
    return lines;
}
