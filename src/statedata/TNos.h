// TNos: what is known about the enabling of every transition in one marking:
// a status per transition of each class (1 enabled, 0 not enabled or no
// successor, -1 unknown) and, for immediate and infinite-server transitions,
// the bindings known to be enabled. Carried by every pending successor so
// that only the transitions a firing can affect are checked again.
#pragma once

#include <cstddef>

#include "statedata/BindingList.h"
#include "foundation/RecordPool.h"

class TDep;

class TNos {
public:
    // Sized by the current class counts; all status values 0, no bindings.
    TNos();
    TNos(const TNos& o);
    TNos& operator=(const TNos& o);
    ~TNos() { Clear(); }

    // Every pending successor carries a set: they are kept in a pool.
    static void* operator new(std::size_t) { return pool.Allocate(); }
    static void operator delete(void* p) { pool.Release(p); }

    void Init(const TNos& o) { *this = o; }

    // Records b as enabled for class index i (ignored outside the class).
    void AddImmBind(Binding* b, unsigned short i);
    void AddInfBind(Binding* b, unsigned short i);
    // Drops the binding list of class index i.
    void DelImmBind(unsigned short i);
    void DelInfBind(unsigned short i);

    // Marks every transition named by d unknown and drops the binding lists
    // of its immediate and infinite-server ones: the update after a firing.
    void MarkUnknown(const TDep& d);

    void Clear();
    void Print() const;

    // Sets are never compared: always different.
    bool operator==(const TNos&) const { return false; }
    bool operator!=(const TNos&) const { return true; }

    unsigned short ImmCount() const { return n_imm; }
    unsigned short ExcCount() const { return n_exc; }
    unsigned short InfCount() const { return n_inf; }

    // Status arrays (null for an empty class) and binding lists (a null entry
    // is an empty list), indexed by class index.
    int* imm = nullptr;
    int* exc = nullptr;
    int* inf = nullptr;
    BindingList** imm_binds = nullptr;
    BindingList** inf_binds = nullptr;

private:
    void CopyFrom(const TNos& o);
    void AllocateStatus();
    static void AssignLists(BindingList** mine, BindingList* const* theirs, unsigned short n);

    int* block = nullptr;  // the status arrays

    static RecordPool pool;  // never destroyed

    unsigned short n_imm = 0;
    unsigned short n_exc = 0;
    unsigned short n_inf = 0;
};

// The working set of the generation.
extern TNos RefTNos;
