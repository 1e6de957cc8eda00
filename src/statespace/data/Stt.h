// State transitions: the edges of the graph. A record extends DelayVal by the
// target marking and the next edge of the same source. The records come from
// one pool per target type; lists are built and released with the helpers
// below, which Marking and NPMarking share.
#pragma once

#include "statespace/data/DelayVal.h"
#include "statespace/data/RecordPool.h"

template <class M>
struct StateTrans : DelayVal {
    StateTrans(const DelayVal& d, M* target, StateTrans* following)
        : DelayVal(d), marking(target), next(following)
    {
    }

    static void* operator new(std::size_t)
    {
        static_assert(sizeof(StateTrans) <= kRecordSize);
        return pool.Allocate();
    }
    static void operator delete(void* p) { pool.Release(p); }

    M* marking;
    StateTrans* next;

    // Never destroyed: records may still be released while other statics
    // (the global stores) are torn down at exit.
    static constexpr std::size_t kRecordSize = sizeof(DelayVal) + 2 * sizeof(void*);
    static constinit inline RecordPool pool{kRecordSize};
};

class Marking;
using stt = StateTrans<Marking>;

// Puts a new edge (copy of d, to target) at the front of the list.
template <class M>
void AddStt(StateTrans<M>*& list, M& target, const DelayVal& d)
{
    list = new StateTrans<M>(d, &target, list);
}

// Frees every edge of the list (not the targets).
template <class M>
void ClearStt(StateTrans<M>*& list)
{
    while (list) {
        StateTrans<M>* gone = list;
        list = gone->next;
        delete gone;
    }
}

// Frees every edge and, before it, its target with everything that target
// owns in turn. Only for temporary markings that own their targets.
template <class M>
void ClearSttTotal(StateTrans<M>*& list)
{
    while (list) {
        StateTrans<M>* gone = list;
        list = gone->next;
        if (gone->marking) {
            gone->marking->ClearTotal();
            delete gone->marking;
        }
        delete gone;
    }
}
