// The queue of pending successors. Chains are released iteratively: the
// queue of a large net holds millions of entries.
#include "netmodel/MDMSet.h"

#include "statedata/PendingMarking.h"
#include "statedata/TNos.h"

constinit RecordPool MDMSet::pool{sizeof(MDMSet)};
MDMSetList GlobalMDMSetList;

namespace {

void DestroyChain(MDMSet* e)
{
    while (e) {
        MDMSet* following = e->GetNext();
        delete e;
        e = following;
    }
}

}  // namespace

MDMSet::MDMSet(Marking* last, PendingMarking* reached, const DelayVal& d, TNos* t)
    : lastMarking(last), delay(d), newMarking(reached), newTNos(t)
{
    add_short(transitions, d.GetTransNo());
}

MDMSet::MDMSet(const MDMSet& o) : lastMarking(o.lastMarking), delay(o.delay) { CopyFrom(o); }

MDMSet& MDMSet::operator=(const MDMSet& o)
{
    if (this == &o) return *this;
    FreeOwn();
    lastMarking = o.lastMarking;
    delay = o.delay;
    CopyFrom(o);
    return *this;
}

void MDMSet::CopyFrom(const MDMSet& o)
{
    newMarking = o.newMarking ? new PendingMarking(*o.newMarking) : nullptr;
    newTNos = o.newTNos ? new TNos(*o.newTNos) : nullptr;
    transitions = nullptr;
    for (short_list* e = o.transitions; e; e = e->next) add_short(transitions, e->value);
}

MDMSet::~MDMSet() { FreeOwn(); }

void MDMSet::FreeOwn()
{
    delete newMarking;
    newMarking = nullptr;
    delete newTNos;
    newTNos = nullptr;
    clear_short(transitions);
}

void MDMSet::Clear()
{
    DestroyChain(next);
    next = nullptr;
    FreeOwn();
}

MDMSetList::MDMSetList(Marking* last, PendingMarking* reached, const DelayVal& d, TNos* t)
{
    AddSet(last, reached, d, t);
}

void MDMSetList::AddSet(Marking* last, PendingMarking* reached, const DelayVal& d, TNos* t)
{
    MDMSet* e = new MDMSet(last, reached, d, t);
    if (this->last)
        this->last->next = e;
    else
        first = e;
    this->last = e;
}

void MDMSetList::AddNewSet(Marking* last, PendingMarking* reached, const DelayVal& d)
{
    AddSet(last, reached, d, nullptr);
}

void MDMSetList::DelFirstSet()
{
    MDMSet* head = first;
    if (!head) return;
    first = head->next;
    if (!first) last = nullptr;
    delete head;
}

void MDMSetList::Clear()
{
    DestroyChain(first);
    first = last = nullptr;
}
