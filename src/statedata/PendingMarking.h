// PendingMarking: a marking on its way to the store: the successor a firing
// made, waiting in the queue of pending successors until it is activated
// and interned. It owns its token vector and its ata (null when no
// exclusive transition is active).
#pragma once

#include <cstddef>

#include "statedata/Multiset.h"
#include "foundation/RecordPool.h"

class PendingMarking {
public:
    PendingMarking() = default;
    explicit PendingMarking(const Pms& pms);
    PendingMarking(const Pms& pms, const short* ata);  // ata: no_of_exc_transitions entries
    PendingMarking(const PendingMarking& o);
    PendingMarking& operator=(const PendingMarking& o);
    ~PendingMarking() { Clear(); }

    // Pending markings come and go by the million: they are kept in a pool.
    static void* operator new(std::size_t) { return pool.Allocate(); }
    static void operator delete(void* p) { pool.Release(p); }

    // The ata may be replaced by the caller (the marking owns what it holds).
    short*& GetAta() { return ata; }
    const short* GetAta() const { return ata; }
    Pms& GetPms() { return pms; }
    const Pms& GetPms() const { return pms; }

    void Clear();  // frees ata and vector

private:
    short* ata = nullptr;
    Pms pms{0, nullptr};

    static RecordPool pool;  // never destroyed
};
