// MDMSet / MDMSetList: the first-in first-out queue of pending successors of
// the graph generation. An entry is a marking reached by a firing, the stored
// marking it was reached from, the delay value of that firing, the enabling
// set of the reached marking and the transition numbers collected for it.
// An entry owns its reached marking, set and list, and the rest of its chain.
#pragma once

#include <cstddef>

#include "statedata/DelayVal.h"
#include "statedata/Multiset.h"
#include "foundation/RecordPool.h"

class Marking;
class PendingMarking;
class TNos;

class MDMSet {
public:
    // Takes over reached and t; the list starts with d's transition number.
    MDMSet(Marking* last, PendingMarking* reached, const DelayVal& d, TNos* t);
    // Deep copies of reached marking, set and list; same source; not linked.
    MDMSet(const MDMSet& o);
    MDMSet& operator=(const MDMSet& o);
    ~MDMSet();  // frees this entry's own data only, not the chain

    // Entries come and go by the million: they are kept in a pool.
    static void* operator new(std::size_t) { return pool.Allocate(); }
    static void operator delete(void* p) { pool.Release(p); }

    // Destroys the rest of the chain, then this entry's data.
    void Clear();

    Marking* GetLastMarking() const { return lastMarking; }
    const DelayVal& GetDelay() const { return delay; }
    DelayVal& GetDelay() { return delay; }
    PendingMarking*& GetNewMarking() { return newMarking; }
    TNos*& GetNewTNos() { return newTNos; }
    short_list*& GetTransitions() { return transitions; }
    MDMSet* GetNext() const { return next; }

private:
    friend class MDMSetList;
    void CopyFrom(const MDMSet& o);
    void FreeOwn();

    Marking* lastMarking;
    DelayVal delay;
    PendingMarking* newMarking;
    TNos* newTNos;
    short_list* transitions = nullptr;
    MDMSet* next = nullptr;

    static RecordPool pool;  // never destroyed
};

class MDMSetList {
public:
    MDMSetList() = default;
    MDMSetList(Marking* last, PendingMarking* reached, const DelayVal& d, TNos* t);
    MDMSetList(const MDMSetList&) = delete;
    MDMSetList& operator=(const MDMSetList&) = delete;
    ~MDMSetList() { Clear(); }

    // Appends a new entry at the tail (taking over reached and t).
    void AddSet(Marking* last, PendingMarking* reached, const DelayVal& d, TNos* t);
    void AddNewSet(Marking* last, PendingMarking* reached, const DelayVal& d);
    // Destroys the head entry; its successor becomes the head.
    void DelFirstSet();
    void Clear();

    MDMSet* GetFirst() const { return first; }
    MDMSet* GetLast() const { return last; }
    bool IsEmpty() const { return first == nullptr; }

private:
    MDMSet* first = nullptr;
    MDMSet* last = nullptr;
};

extern MDMSetList GlobalMDMSetList;
