// TNos: enabling knowledge of one marking, deep-copied with every successor.
#include "statedata/TNos.h"

#include "statedata/BlockPool.h"
#include "statedata/NetCounts.h"
#include "statedata/TDep.h"

#include <algorithm>
#include <iostream>

constinit RecordPool TNos::pool{sizeof(TNos)};
TNos RefTNos;

namespace {

BindingList** NewLists(unsigned short n, BindingList* const* from)
{
    if (n == 0) return nullptr;
    BindingList** l = new BindingList*[n];
    for (unsigned short i = 0; i < n; ++i)
        l[i] = from && from[i] ? new BindingList(*from[i]) : nullptr;
    return l;
}

void FreeLists(BindingList**& l, unsigned short n)
{
    if (!l) return;
    for (unsigned short i = 0; i < n; ++i) delete l[i];
    delete[] l;
    l = nullptr;
}

void AddBind(BindingList** lists, unsigned short n, Binding* b, unsigned short i)
{
    if (!lists || i >= n) return;
    if (!lists[i]) lists[i] = new BindingList;
    lists[i]->Add(b);
}

void DropList(BindingList** lists, unsigned short n, unsigned short i)
{
    if (!lists || i >= n) return;
    delete lists[i];
    lists[i] = nullptr;
}

void PrintClass(const char* title, const int* status, BindingList* const* lists,
                unsigned short n)
{
    std::cout << title << "\n";
    for (unsigned short i = 0; i < n; ++i) {
        std::cout << "\tno = " << i << "\tstatus = " << status[i];
        if (lists) std::cout << "\tbindings = " << (lists[i] ? lists[i]->Count() : 0);
        std::cout << "\n";
    }
}

}  // namespace

TNos::TNos()
    : n_imm(no_of_imm_transitions), n_exc(no_of_exc_transitions), n_inf(no_of_inf_transitions)
{
    AllocateStatus();
    std::fill_n(block, n_imm + n_exc + n_inf, 0);
    imm_binds = NewLists(n_imm, nullptr);
    inf_binds = NewLists(n_inf, nullptr);
}

TNos::TNos(const TNos& o) { CopyFrom(o); }

// Sets of the same net are assigned in place: every successor's set is
// copied into the working set, so this must not allocate.
TNos& TNos::operator=(const TNos& o)
{
    if (this == &o) return *this;
    if (n_imm != o.n_imm || n_exc != o.n_exc || n_inf != o.n_inf) {
        Clear();
        CopyFrom(o);
        return *this;
    }
    std::copy_n(o.block, n_imm + n_exc + n_inf, block);
    AssignLists(imm_binds, o.imm_binds, n_imm);
    AssignLists(inf_binds, o.inf_binds, n_inf);
    return *this;
}

void TNos::CopyFrom(const TNos& o)
{
    n_imm = o.n_imm;
    n_exc = o.n_exc;
    n_inf = o.n_inf;
    AllocateStatus();
    std::copy_n(o.block, n_imm + n_exc + n_inf, block);
    imm_binds = NewLists(n_imm, o.imm_binds);
    inf_binds = NewLists(n_inf, o.inf_binds);
}

// One block holds the three status arrays, in the order imm, exc, inf.
void TNos::AllocateStatus()
{
    int total = n_imm + n_exc + n_inf;
    block = total > 0 ? static_cast<int*>(AllocateBlock(total * sizeof(int))) : nullptr;
    imm = n_imm ? block : nullptr;
    exc = n_exc ? block + n_imm : nullptr;
    inf = n_inf ? block + n_imm + n_exc : nullptr;
}

void TNos::AssignLists(BindingList** mine, BindingList* const* theirs, unsigned short n)
{
    for (unsigned short i = 0; i < n; ++i) {
        if (!theirs[i]) {
            delete mine[i];
            mine[i] = nullptr;
        } else if (mine[i]) {
            *mine[i] = *theirs[i];
        } else {
            mine[i] = new BindingList(*theirs[i]);
        }
    }
}

void TNos::AddImmBind(Binding* b, unsigned short i) { AddBind(imm_binds, n_imm, b, i); }
void TNos::AddInfBind(Binding* b, unsigned short i) { AddBind(inf_binds, n_inf, b, i); }
void TNos::DelImmBind(unsigned short i) { DropList(imm_binds, n_imm, i); }
void TNos::DelInfBind(unsigned short i) { DropList(inf_binds, n_inf, i); }

void TNos::MarkUnknown(const TDep& d)
{
    for (unsigned short k = 0; k < d.imm_no; ++k) {
        unsigned short j = d.imm[k];
        if (j >= n_imm) continue;
        imm[j] = -1;
        DelImmBind(j);
    }
    for (unsigned short k = 0; k < d.exc_no; ++k)
        if (d.exc[k] < n_exc) exc[d.exc[k]] = -1;
    for (unsigned short k = 0; k < d.inf_no; ++k) {
        unsigned short j = d.inf[k];
        if (j >= n_inf) continue;
        inf[j] = -1;
        DelInfBind(j);
    }
}

void TNos::Clear()
{
    FreeLists(imm_binds, n_imm);
    FreeLists(inf_binds, n_inf);
    ReleaseBlock(block, (n_imm + n_exc + n_inf) * sizeof(int));
    block = imm = exc = inf = nullptr;
    n_imm = n_exc = n_inf = 0;
}

void TNos::Print() const
{
    PrintClass("immediate transitions :", imm, imm_binds, n_imm);
    PrintClass("exclusive transitions :", exc, nullptr, n_exc);
    PrintClass("infinite transitions  :", inf, inf_binds, n_inf);
}
