// The order in which the members of a subordinated chain are sent to a
// worker: every entry marking (status "initial") in member-list order, each
// followed depth-first by the members it reaches, a member's edges taken in
// list order. Whether a target is still to be visited is decided when its
// edge comes up, after the members reached through the earlier edges; the
// visit marks it (through its status) so that it is not visited again. The
// walk keeps its own stack because chains can be long.
#pragma once

#include "statedata/SMChain.h"

#include <utility>
#include <vector>

// Calls visit(m) for every member reached; `eligible(t)` tells whether the
// target t of an edge is a member not yet visited. Returns the number of
// visits.
template <class Eligible, class Visit>
int WalkChain(const SMChain& chain, Eligible eligible, Visit visit)
{
    int visits = 0;
    std::vector<std::pair<Marking*, EdgeCursor>> path;
    for (const PLElement<Marking>* e = chain.GetMarkings().first; e; e = e->next) {
        if (e->item->GetStatus() != kStatusInitial) continue;
        visit(*e->item);
        ++visits;
        path.emplace_back(e->item, e->item->GetStt());
        while (!path.empty()) {
            EdgeCursor& edge = path.back().second;
            while (edge && !(edge->Target() && eligible(*edge->Target()))) edge = edge.Next();
            if (!edge) {
                path.pop_back();
                continue;
            }
            Marking* target = edge->Target();
            edge = edge.Next();
            visit(*target);
            ++visits;
            path.emplace_back(target, target->GetStt());
        }
    }
    return visits;
}

// The first state number after a chain's block.
inline unsigned ChainEnd(const SMChain& chain)
{
    return chain.GetFirstStateNumber() + static_cast<unsigned>(chain.GetNoOfStates());
}

// Whether m is a member of kind `type` inside the chain's block whose status
// is neither "initial" nor `mark` (the mark of the walk under way).
inline bool NotYetVisited(const Marking& m, const SMChain& chain, unsigned type, unsigned mark)
{
    return m.GetType() == type && m.GetKey() >= chain.GetFirstStateNumber() &&
           m.GetKey() < ChainEnd(chain) && m.GetStatus() != kStatusInitial && m.GetStatus() != mark;
}

// Where a writer of a worker's stream reports a part it cannot write.
struct MemberRowReports {
    const char* function;
    const char* wrongKind;  // an entry marking of another kind, at typeLine
    int typeLine;
    int unreachedLine;  // a member not reached from an entry marking
};

// One part of a worker's stream: the members of kind `type` in visiting
// order, each marked with `mark` (entry markings keep their status) and
// written by writeRow(m). A member of another kind, or one not reached, ends
// the run through fail(line, function, description).
template <class Fail, class WriteRow>
void WriteMemberRows(SMChain& chain, unsigned type, unsigned mark, const MemberRowReports& reports,
                     Fail fail, WriteRow writeRow)
{
    int rows = WalkChain(
        chain, [&](const Marking& t) { return NotYetVisited(t, chain, type, mark); },
        [&](Marking& m) {
            if (m.GetType() != type) fail(reports.typeLine, reports.function, reports.wrongKind);
            if (m.GetStatus() != kStatusInitial) m.SetStatus(mark);
            writeRow(m);
        });
    if (rows != chain.GetNoOfStates())
        fail(reports.unreachedLine, reports.function,
             "not every SMC member is reachable from an entry marking");
}
