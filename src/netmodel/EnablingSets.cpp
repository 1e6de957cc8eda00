// Enabling sets: the complete computation for the first marking and the
// dependency-driven update after each firing.
#include "netmodel/EnablingSets.h"

#include <algorithm>

#include "netmodel/MarkingVectors.h"
#include "netmodel/NetArrays.h"
#include "netmodel/PlainImmediates.h"
#include "netmodel/Transition.h"
#include "statedata/NetCounts.h"
#include "statedata/TDep.h"
#include "statedata/TNos.h"

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

// The status of every transition of one class: `initial`, or 1 once a
// binding fires; `forget` drops the class's binding list, `keep` records an
// enabled binding.
template <class Forget, class Keep>
void FirstStatus(Transition** trans, unsigned short n, int* status, int initial, Forget forget,
                 Keep keep)
{
    for (unsigned short i = 0; i < n; ++i) {
        status[i] = initial;
        forget(i);
        TryBindings(*trans[i], [&](Binding* b) {
            status[i] = 1;
            keep(b, i);
        });
    }
}

bool refreshByDependencies = false;

// A copy of the ata without the entries for which stillActive(i, binding)
// fails, among the dependents of the fired transition where those are all
// that can change; null when no entry remains.
template <class StillActiveHere>
short* RefreshedAta(const short* ata, short fired, StillActiveHere stillActive)
{
    short* fresh = make_ata(ata);
    if (!fresh) return nullptr;
    const TDep* d = refreshByDependencies && fired >= 0 && RefTDep ? RefTDep[fired] : nullptr;
    if (d) {
        for (unsigned short k = 0; k < d->exc_no; ++k) {
            unsigned short i = d->exc[k];
            if (fresh[i] != 0 && !stillActive(i, fresh[i])) fresh[i] = 0;
        }
    } else {
        for (unsigned short i = 0; i < no_of_exc_transitions; ++i)
            if (fresh[i] != 0 && !stillActive(i, fresh[i])) fresh[i] = 0;
    }
    if (std::all_of(fresh, fresh + no_of_exc_transitions, [](short v) { return v == 0; }))
        clear_ata(fresh);
    return fresh;
}

}  // namespace

bool StillActive(const Transition& t, short binding)
{
    if (!t.IsNewEnabled() || !t.GetBindings()) return false;
    const Binding* b = t.GetBindings()->GetLE(binding);
    return b && b->IsNewEnabled();
}

TNos* MakeFirstTNos(const Pms& pms)
{
    InitRefPms(pms);
    FirstStatus(
        ImmTrans, no_of_imm_transitions, RefTNos.imm, 0,
        [](unsigned short i) { RefTNos.DelImmBind(i); },
        [](Binding* b, unsigned short i) { RefTNos.AddImmBind(b, i); });
    // Exclusive transitions keep no binding list; one that is not enabled
    // stays unknown.
    FirstStatus(
        ExcTrans, no_of_exc_transitions, RefTNos.exc, -1, [](unsigned short) {},
        [](Binding*, unsigned short) {});
    FirstStatus(
        InfTrans, no_of_inf_transitions, RefTNos.inf, 0,
        [](unsigned short i) { RefTNos.DelInfBind(i); },
        [](Binding* b, unsigned short i) { RefTNos.AddInfBind(b, i); });
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

void SetAtaRefreshByDependencies(bool on)
{
    refreshByDependencies = on;
}

bool AtaRefreshByDependencies()
{
    return refreshByDependencies;
}

short* MakeNewAta(const short* ata, short fired)
{
    return RefreshedAta(ata, fired,
                        [](unsigned short i, short binding) { return StillActive(*ExcTrans[i], binding); });
}

short* MakeNewAtaOnCounts(const short* ata, short fired, const PlainImmediates& counts,
                          const std::uint16_t* flat)
{
    return RefreshedAta(ata, fired, [&counts, flat](unsigned short i, short binding) {
        return counts.ExclusiveActive(i, binding, flat);
    });
}
