// Firing rows of chain members.
#include "solution/FiringRows.h"

namespace {

bool IsBranching(const Marking& m)
{
    return m.GetType() == kDelayProbability || m.GetType() == kDelayImmediate;
}

}  // namespace

FiringProblem FiringRow(const Marking& m, unsigned type, std::vector<FiringPair>& row)
{
    row.clear();
    EdgeCursor firing = m.GetStt();
    while (firing && static_cast<unsigned>(firing->GetDelayType()) != type) firing = firing.Next();
    if (!firing) return FiringProblem::kNoFiring;
    const Marking* target = firing->Target();
    if (!target) return FiringProblem::kNoFiringTarget;
    if (!IsBranching(*target)) {
        row.push_back({target->GetKey(), 1.0});
        return FiringProblem::kNone;
    }
    if (!target->GetStt()) return FiringProblem::kNoBranches;
    const Marking* previous = nullptr;
    for (EdgeCursor s = target->GetStt(); s; s = s.Next()) {
        if (!s->Target()) return FiringProblem::kNoBranchTarget;
        if (s->Target() == previous)
            row.back().value += s->GetDelayVal();
        else
            row.push_back({s->Target()->GetKey(), s->GetDelayVal()});
        previous = s->Target();
    }
    return FiringProblem::kNone;
}
