// NPMarking: construction, the store order, edges and release.
#include "statedata/NPMarking.h"

#include "statedata/TNos.h"

NPMarking::NPMarking(const Pms& p) { copy_c_pms(p, pms); }

NPMarking::NPMarking(const Pms& p, const TNos* t) : tnos(t ? new TNos(*t) : nullptr)
{
    copy_c_pms(p, pms);
}

NPMarking::NPMarking(double v) : value(v) {}

NPMarking::NPMarking(const Pms& p, double v) : value(v) { copy_c_pms(p, pms); }

NPMarking::NPMarking(const NPMarking& o) { CopyFrom(o); }

NPMarking& NPMarking::operator=(const NPMarking& o)
{
    if (this == &o) return *this;
    Clear();
    CopyFrom(o);
    return *this;
}

void NPMarking::CopyFrom(const NPMarking& o)
{
    key = o.key;
    no = o.no;
    value = o.value;
    copy_c_pms(o.pms, pms);
    tnos = o.tnos ? new TNos(*o.tnos) : nullptr;
    edges = nullptr;
}

void NPMarking::CreateKey()
{
    key = create_key(pms);
    if (key == 0) key = 1;
}

void NPMarking::SetTNos(TNos* t)
{
    if (t == tnos) return;
    delete tnos;
    tnos = t;
}

int NPMarking::Comp(const NPMarking& o) const
{
    if (key != o.key) return key < o.key ? -1 : 1;
    return comp_pms(pms, o.pms);
}

bool NPMarking::operator==(const NPMarking& o) const { return key == o.key && pms_eq(pms, o.pms); }

void NPMarking::AddMarking(NPMarking& target, const DelayVal& d) { AddStt(edges, target, d); }

void NPMarking::Clean()
{
    clear_pms(pms);
    delete tnos;
    tnos = nullptr;
    key = 1;
    value = 0.0;
    no = 0;
}

void NPMarking::Clear()
{
    ClearStt(edges);
    Clean();
}

void NPMarking::ClearTotal()
{
    ClearSttTotal(edges);
    Clean();
}
