// TNos: enabling knowledge of one marking, deep-copied with every successor.
#include "statespace/data/TNos.h"

#include "statespace/data/NetCounts.h"
#include "statespace/data/TDep.h"

#include <algorithm>
#include <iostream>

TNos RefTNos;

namespace {

int* NewStatus(unsigned short n, const int* from)
{
    if (n == 0) return nullptr;
    int* s = new int[n];
    if (from)
        std::copy_n(from, n, s);
    else
        std::fill_n(s, n, 0);
    return s;
}

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
    imm = NewStatus(n_imm, nullptr);
    exc = NewStatus(n_exc, nullptr);
    inf = NewStatus(n_inf, nullptr);
    imm_binds = NewLists(n_imm, nullptr);
    inf_binds = NewLists(n_inf, nullptr);
}

TNos::TNos(const TNos& o) { CopyFrom(o); }

TNos& TNos::operator=(const TNos& o)
{
    if (this == &o) return *this;
    Clear();
    CopyFrom(o);
    return *this;
}

void TNos::CopyFrom(const TNos& o)
{
    n_imm = o.n_imm;
    n_exc = o.n_exc;
    n_inf = o.n_inf;
    imm = NewStatus(n_imm, o.imm);
    exc = NewStatus(n_exc, o.exc);
    inf = NewStatus(n_inf, o.inf);
    imm_binds = NewLists(n_imm, o.imm_binds);
    inf_binds = NewLists(n_inf, o.inf_binds);
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
    delete[] imm;
    delete[] exc;
    delete[] inf;
    imm = exc = inf = nullptr;
    n_imm = n_exc = n_inf = 0;
}

void TNos::Print() const
{
    PrintClass("immediate transitions :", imm, imm_binds, n_imm);
    PrintClass("exclusive transitions :", exc, nullptr, n_exc);
    PrintClass("infinite transitions  :", inf, inf_binds, n_inf);
}
