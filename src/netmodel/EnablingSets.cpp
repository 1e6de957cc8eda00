// Enabling sets: the complete computation for the first marking and the
// dependency-driven update after each firing.
#include "netmodel/EnablingSets.h"

#include "netmodel/MarkingVectors.h"
#include "netmodel/NetArrays.h"
#include "netmodel/Transition.h"
#include "statespace/data/NetCounts.h"
#include "statespace/data/TDep.h"
#include "statespace/data/TNos.h"

namespace {

// Tries every binding of an enabled transition on the actual contents and
// calls `record` for each one that fires; the new contents are reset after
// every trial.
template <class Record>
void TryBindings(Transition& t, Record record)
{
    if (!t.IsActEnabled() || !t.GetBindings()) return;
    for (PLElement<Binding>* e = t.GetBindings()->first; e; e = e->next) {
        Binding* b = e->item;
        if (b->ChkAndFireImm() != 0.0) record(b);
        b->CpyActToNew();
    }
}

bool StillActive(const Transition& t, short binding)
{
    if (!t.IsNewEnabled() || !t.GetBindings()) return false;
    const Binding* b = t.GetBindings()->GetLE(binding);
    return b && b->IsNewEnabled();
}

}  // namespace

TNos* MakeFirstTNos(const Pms& pms)
{
    InitRefPms(pms);
    for (unsigned short i = 0; i < no_of_imm_transitions; ++i) {
        RefTNos.imm[i] = 0;
        RefTNos.DelImmBind(i);
        TryBindings(*ImmTrans[i], [i](Binding* b) {
            RefTNos.imm[i] = 1;
            RefTNos.AddImmBind(b, i);
        });
    }
    for (unsigned short i = 0; i < no_of_exc_transitions; ++i) {
        RefTNos.exc[i] = -1;
        TryBindings(*ExcTrans[i], [i](Binding*) { RefTNos.exc[i] = 1; });
    }
    for (unsigned short i = 0; i < no_of_inf_transitions; ++i) {
        RefTNos.inf[i] = 0;
        RefTNos.DelInfBind(i);
        TryBindings(*InfTrans[i], [i](Binding* b) {
            RefTNos.inf[i] = 1;
            RefTNos.AddInfBind(b, i);
        });
    }
    return new TNos(RefTNos);
}

void ModTNos(TNos& set, short t)
{
    if (RefTDep && t >= 0 && RefTDep[t]) set.MarkUnknown(*RefTDep[t]);
}

TNos* MakeTNos(short t)
{
    auto* set = new TNos(RefTNos);
    ModTNos(*set, t);
    return set;
}

short* MakeNewAta(const short* ata)
{
    short* fresh = make_ata(ata);
    if (!fresh) return nullptr;
    bool anyActive = false;
    for (unsigned short i = 0; i < no_of_exc_transitions; ++i) {
        if (fresh[i] != 0 && StillActive(*ExcTrans[i], fresh[i]))
            anyActive = true;
        else
            fresh[i] = 0;
    }
    if (!anyActive) clear_ata(fresh);
    return fresh;
}
