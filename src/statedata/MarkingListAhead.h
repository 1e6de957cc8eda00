// Walks over a list of markings that fetch what the walk will read a few
// markings ahead. The lists are in state order, but the records, codes and
// edges of the markings lie all over the store (and, while parked, in a
// file): read one after the other, each is a miss of the cache and often
// of the address translation, about a microsecond a marking on a graph of
// millions. The records are fetched kFar elements ahead; the codes and
// edges, whose addresses are in the records, kNear ahead, by when their
// records have come.
#pragma once

#include "foundation/PtrList.h"
#include "statedata/Marking.h"

namespace marking_list_ahead {

constexpr int kNear = 4;
constexpr int kFar = 8;

inline void FetchContents(const Marking& m)
{
    if (const std::uint8_t* code = m.GetCode()) __builtin_prefetch(code);
    if (m.EdgeCount() != 0) __builtin_prefetch(&m.OldestEdge(0));
}

}  // namespace marking_list_ahead

// Calls visit(marking) for every marking of the list, in order; with
// `contents` false only the records are fetched (for a walk that reads
// nothing else).
template <bool contents = true, class Visit>
void ForEachMarkingFetchingAhead(PtrList<Marking>& list, Visit visit)
{
    using namespace marking_list_ahead;
    PLElement<Marking>* near = list.first;
    PLElement<Marking>* far = list.first;
    for (int k = 0; k < kNear && near; ++k) near = near->next;
    for (int k = 0; k < kFar && far; ++k) {
        __builtin_prefetch(far->item);
        far = far->next;
    }
    for (PLElement<Marking>* e = list.first; e; e = e->next) {
        if (far) {
            __builtin_prefetch(far->item);
            far = far->next;
        }
        if (contents && near) {
            FetchContents(*near->item);
            near = near->next;
        }
        visit(*e->item);
    }
}
