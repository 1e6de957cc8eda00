// Where the firing of a chain member's deterministic or general transition
// leads: to one tangible marking with probability 1, or through a branching
// marking to its targets with the branching probabilities. Consecutive edges
// of the branching marking to the same target make one entry with their
// summed value, as in the chain files, so that an entry count always agrees
// with the entries sent.
#pragma once

#include "statedata/Marking.h"

#include <cstdint>
#include <vector>

struct FiringPair {
    std::uint32_t state;
    double value;
};

enum class FiringProblem {
    kNone,
    kNoFiring,        // the member has no edge of the type
    kNoFiringTarget,  // that edge leads nowhere
    kNoBranches,      // the branching marking has no edges
    kNoBranchTarget,  // one of them leads nowhere
};

// The firing row of m's first edge of delay type `type`.
FiringProblem FiringRow(const Marking& m, unsigned type, std::vector<FiringPair>& row);

// Where a writer reports each problem (in the order above, after kNone).
struct FiringRowReports {
    const char* function;
    int lines[4];
    const char* descriptions[4];
};

// The firing row of m's first edge of delay type `type`; a problem ends the
// run through fail(line, function, description).
template <class Fail>
std::vector<FiringPair> CheckedFiringRow(const Marking& m, unsigned type,
                                         const FiringRowReports& reports, Fail fail)
{
    std::vector<FiringPair> row;
    const FiringProblem problem = FiringRow(m, type, row);
    if (problem != FiringProblem::kNone) {
        const int i = static_cast<int>(problem) - 1;
        fail(reports.lines[i], reports.function, reports.descriptions[i]);
    }
    return row;
}
