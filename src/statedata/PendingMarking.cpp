// Pending markings: copies and release.
#include "statedata/PendingMarking.h"

constinit RecordPool PendingMarking::pool{sizeof(PendingMarking)};

PendingMarking::PendingMarking(const Pms& p) { copy_c_pms(p, pms); }

PendingMarking::PendingMarking(const Pms& p, const short* a) : ata(make_ata(a))
{
    copy_c_pms(p, pms);
}

PendingMarking::PendingMarking(const PendingMarking& o) : ata(make_ata(o.ata))
{
    copy_c_pms(o.pms, pms);
}

PendingMarking& PendingMarking::operator=(const PendingMarking& o)
{
    if (this == &o) return *this;
    Clear();
    ata = make_ata(o.ata);
    copy_c_pms(o.pms, pms);
    return *this;
}

void PendingMarking::Clear()
{
    clear_ata(ata);
    clear_pms(pms);
}
