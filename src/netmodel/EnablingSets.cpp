// Enabling sets: the complete computation for the first marking and the
// dependency-driven update after each firing.
#include "netmodel/EnablingSets.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "netmodel/MarkingVectors.h"
#include "netmodel/NetArrays.h"
#include "netmodel/PlainImmediates.h"
#include "netmodel/Transition.h"
#include "statedata/AtaScan.h"
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

// By transition number - 1, the exclusive transitions whose entries its
// firing may take (SetAtaRefreshByDependencies); none where every active
// entry is tested.
std::vector<std::vector<unsigned short>> disablable;
// The entries FindGone finds inactive.
std::vector<unsigned> gone;

// The entries of `ata` for which stillActive(i, binding) fails, into
// `gone`, among those the fired transition may disable where those are all
// that can change; false when no entry remains. The entries that go are
// found on `ata` itself, so that a wide ata is copied only when some remain.
// `active`, when known, lists the entries of `ata` that are not 0.
template <class StillActiveHere>
bool FindGone(const short* ata, const std::vector<unsigned>* active, short fired,
              StillActiveHere stillActive, std::size_t& count)
{
    count = 0;
    if (!ata || no_of_exc_transitions == 0) return false;
    const unsigned n = no_of_exc_transitions;
    if (gone.size() < n) gone.resize(n);
    auto test = [&](unsigned i) {
        if (ata[i] != 0 && !stillActive(i, ata[i])) gone[count++] = i;
    };
    // The candidates are those the firing may disable, listed once each, or
    // every active entry: those in `gone` are distinct.
    if (fired >= 0 && static_cast<std::size_t>(fired) < disablable.size()) {
        for (unsigned short i : disablable[static_cast<std::size_t>(fired)]) test(i);
    } else if (active) {
        for (unsigned i : *active) test(i);
    } else {
        // The indices are overwritten only once they are tested.
        const std::size_t found = ActiveIndices(ata, n, gone.data());
        for (std::size_t k = 0; k < found; ++k) test(gone[k]);
    }
    return active ? active->size() != count : MoreActiveThan(ata, n, count);
}

// A copy of the ata without the entries that FindGone finds; null when no
// entry remains.
template <class StillActiveHere>
short* RefreshedAta(const short* ata, const std::vector<unsigned>* active, short fired,
                    StillActiveHere stillActive)
{
    std::size_t count = 0;
    if (!FindGone(ata, active, fired, stillActive, count)) return nullptr;
    short* fresh = make_ata(ata);
    for (std::size_t k = 0; k < count; ++k) fresh[gone[k]] = 0;
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

void SetAtaRefreshByDependencies(std::vector<std::vector<unsigned short>> lists)
{
    disablable = std::move(lists);
}

bool AtaRefreshByDependencies()
{
    return !disablable.empty();
}

namespace {

// A closure rather than a function, so that RefreshedAta calls it inline.
constexpr auto kStillActiveExclusive = [](unsigned short i, short binding) {
    return StillActive(*ExcTrans[i], binding);
};

}  // namespace

short* MakeNewAta(const short* ata, short fired)
{
    return RefreshedAta(ata, nullptr, fired, kStillActiveExclusive);
}

short* MakeNewAta(const short* ata, const std::vector<unsigned>& active, short fired)
{
    return RefreshedAta(ata, &active, fired, kStillActiveExclusive);
}

bool MakeNewAtaOnCounts(const short* ata, const std::vector<unsigned>& active, short fired,
                        const PlainImmediates& counts, const std::uint16_t* flat, short* into)
{
    std::size_t count = 0;
    const bool remains = FindGone(ata, &active, fired, [&counts, flat](unsigned short i, short binding) {
        return counts.ExclusiveActive(i, binding, flat);
    }, count);
    if (!remains) return false;
    std::copy(ata, ata + no_of_exc_transitions, into);
    for (std::size_t k = 0; k < count; ++k) into[gone[k]] = 0;
    return true;
}
