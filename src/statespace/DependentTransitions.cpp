// Sorted dependency records, see DependentTransitions.h.
#include "statespace/DependentTransitions.h"

#include <algorithm>
#include <map>
#include <utility>

#include "netmodel/Function.h"
#include "netmodel/NetArrays.h"
#include "netmodel/Transition.h"
#include "statedata/NetCounts.h"
#include "statedata/TDep.h"

namespace {

std::vector<std::vector<DependentExclusive>> exclusives;
std::vector<std::vector<unsigned short>> immediates;
std::vector<DependentExclusive> all;
bool sortedByEffects = false;

std::vector<unsigned short> Sorted(const unsigned short* indices, unsigned short n,
                                   unsigned short limit)
{
    std::vector<unsigned short> list;
    for (unsigned short k = 0; k < n; ++k)
        if (indices[k] < limit) list.push_back(indices[k]);
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
    return list;
}

bool Constant(const PtrList<Arc>* arcs)
{
    if (arcs)
        for (const PLElement<Arc>* a = arcs->first; a; a = a->next)
            if (a->item->GetTmsCell() && a->item->GetTmsCell()->IsPlaceDependent()) return false;
    return true;
}

// What the firings of one transition do to the places, as far as enabling
// can tell: by place, whether some binding leaves it with more tokens of
// some colour than before, and whether some binding leaves it with fewer.
// The places are marked on one array for all transitions, and cleared
// after each.
class FiringEffects {
public:
    static constexpr unsigned char kGrows = 1, kShrinks = 2;

    // The effects of t's bindings; false (and none) where an inscription
    // reads the marking.
    bool Find(const Transition& t)
    {
        for (int p : touched) effects[static_cast<std::size_t>(p)] = 0;
        touched.clear();
        effects.resize(no_of_places, 0);
        for (const PLElement<Binding>* e = t.GetBindings() ? t.GetBindings()->first : nullptr; e; e = e->next)
            if (!AddBinding(*e->item)) return false;
        return true;
    }
    unsigned char At(int place) const { return effects[static_cast<std::size_t>(place)]; }

private:
    bool AddBinding(const Binding& b)
    {
        if (!Constant(b.GetInArcs()) || !Constant(b.GetOutArcs())) return false;
        std::map<std::pair<int, unsigned short>, long> change;  // by (place, colour)
        for (auto [arcs, sign] : {std::pair{b.GetInArcs(), -1L}, std::pair{b.GetOutArcs(), 1L}}) {
            for (const PLElement<Arc>* a = arcs ? arcs->first : nullptr; a; a = a->next) {
                std::unique_ptr<CellVal> holder;
                const Tms* tms = a->item->Inscription(holder);
                for (const ltoken* k = tms ? tms->first : nullptr; k; k = k->next)
                    change[{a->item->GetPlace()->GetNo(), k->token}] += sign * k->quant;
            }
        }
        for (const auto& [slot, by] : change) {
            if (by == 0) continue;
            touched.push_back(slot.first);
            effects[static_cast<std::size_t>(slot.first)] |= by > 0 ? kGrows : kShrinks;
        }
        return true;
    }

    std::vector<unsigned char> effects;
    std::vector<int> touched;
};

// What the enabling of exclusive transition t reads: the places its
// bindings take tokens from, and those its conditions count; `known` false
// when a condition is not a constant or a count, or an input inscription
// reads the marking.
struct Needs {
    bool known = true;
    std::vector<int> inputs, counted;
};

void AddCounted(const Condition& c, Needs& n)
{
    if (c.IsConstant()) return;
    if (!c.Numeric()) {
        n.known = false;
        return;
    }
    c.Numeric()->AllCounts([&n](const Function& f) {
        if (const PlaceHeader* ph = f.GetConstPlaceHeader()) n.counted.push_back(ph->GetNo());
        return true;
    });
}

Needs NeedsOf(Transition& t)
{
    Needs n;
    AddCounted(t.GetGlobalCond(), n);
    for (PLElement<Binding>* e = t.GetBindings() ? t.GetBindings()->first : nullptr; e && n.known;
         e = e->next) {
        Binding& b = *e->item;
        AddCounted(b.GetLocalCond(), n);
        // A choice among bindings whose weights cancel out is no activation,
        // whatever is enabled; bindings disabled could then activate it.
        if (!Constant(b.GetInArcs()) || !(b.GetWeight() >= 0.0)) n.known = false;
        for (const PLElement<Arc>* a = b.GetInArcs() ? b.GetInArcs()->first : nullptr; a; a = a->next)
            n.inputs.push_back(a->item->GetPlace()->GetNo());
    }
    return n;
}

bool AnyOf(const std::vector<int>& places, const FiringEffects& effects, unsigned char effect)
{
    return std::any_of(places.begin(), places.end(),
                       [&effects, effect](int p) { return (effects.At(p) & effect) != 0; });
}

// A firing can enable exclusive transition i only by adding tokens to a
// place i takes from, disable it only by taking tokens from such a place;
// either by changing a place its conditions count. Where the effects are
// not `known`, nothing is ruled out.
DependentExclusive Dependent(unsigned short i, bool known, const FiringEffects& effects, const Needs& needs)
{
    if (!known || !needs.known) return DependentExclusive{i, true, true};
    const bool counted = AnyOf(needs.counted, effects, FiringEffects::kGrows | FiringEffects::kShrinks);
    return DependentExclusive{i, counted || AnyOf(needs.inputs, effects, FiringEffects::kGrows),
                              counted || AnyOf(needs.inputs, effects, FiringEffects::kShrinks)};
}

// An immediate transition's weight that reads the marking may turn from 0
// (which fires nothing) to more where the firing cannot enable it.
bool WeightReadsMarking(const Transition& t)
{
    for (const PLElement<Binding>* e = t.GetBindings() ? t.GetBindings()->first : nullptr; e; e = e->next)
        if (e->item->GetDelay() && e->item->GetDelay()->IsPlaceDependent()) return true;
    return false;
}

// The dependents of every transition: the exclusive ones, each with whether
// the firing can enable and disable them, and the immediate ones it can
// enable. With a bounded place, a firing can make or take room for
// another's output: nothing is ruled out there.
void SortByEffects()
{
    std::vector<Needs> needs, immediateNeeds;
    for (unsigned short i = 0; i < no_of_exc_transitions; ++i) needs.push_back(NeedsOf(*ExcTrans[i]));
    for (unsigned short j = 0; j < no_of_imm_transitions; ++j) {
        immediateNeeds.push_back(NeedsOf(*ImmTrans[j]));
        if (WeightReadsMarking(*ImmTrans[j])) immediateNeeds.back().known = false;
    }
    const bool bounded = !NoPlaceBounded();
    FiringEffects effects;
    for (auto [array, n] : {std::pair{ExcTrans, no_of_exc_transitions}, std::pair{InfTrans, no_of_inf_transitions},
                            std::pair{ImmTrans, no_of_imm_transitions}}) {
        for (unsigned short k = 0; k < n; ++k) {
            const auto t = static_cast<std::size_t>(array[k]->GetNo() - 1);
            const TDep* d = RefTDep[t];
            if (!d) continue;
            const bool known = effects.Find(*array[k]) && !bounded;
            for (unsigned short i : Sorted(d->exc, d->exc_no, no_of_exc_transitions))
                exclusives[t].push_back(Dependent(i, known, effects, needs[i]));
            for (unsigned short j : Sorted(d->imm, d->imm_no, no_of_imm_transitions))
                if (Dependent(j, known, effects, immediateNeeds[j]).mayEnable) immediates[t].push_back(j);
        }
    }
}

}  // namespace

void SortDependents(bool sorted)
{
    exclusives.assign(no_of_trans, {});
    immediates.assign(no_of_trans, {});
    all.clear();
    for (unsigned short i = 0; i < no_of_exc_transitions; ++i) all.push_back(DependentExclusive{i, true, true});
    sortedByEffects = sorted && RefTDep;
    if (sortedByEffects) SortByEffects();
}

const std::vector<DependentExclusive>& DependentExclusives(int transNo)
{
    return exclusives[static_cast<std::size_t>(transNo - 1)];
}

const std::vector<unsigned short>& DependentImmediates(int transNo)
{
    return immediates[static_cast<std::size_t>(transNo - 1)];
}

std::vector<std::vector<unsigned short>> DisablableExclusives()
{
    std::vector<std::vector<unsigned short>> lists;
    if (!sortedByEffects) return lists;
    lists.resize(no_of_trans);
    for (unsigned t = 0; t < no_of_trans; ++t) {
        const bool recorded = RefTDep[t] != nullptr;
        for (const DependentExclusive& d : recorded ? exclusives[t] : all)
            if (d.mayDisable) lists[t].push_back(d.exclusive);
    }
    return lists;
}

const std::vector<DependentExclusive>& AllExclusives()
{
    return all;
}

void MergeDependents(const std::vector<DependentExclusive>& a, const std::vector<DependentExclusive>& b,
                     std::vector<DependentExclusive>& into)
{
    into.clear();
    auto x = a.begin();
    auto y = b.begin();
    while (x != a.end() || y != b.end()) {
        if (y == b.end() || (x != a.end() && x->exclusive < y->exclusive)) {
            into.push_back(*x++);
        } else if (x == a.end() || y->exclusive < x->exclusive) {
            into.push_back(*y++);
        } else {
            into.push_back(DependentExclusive{x->exclusive, x->mayEnable || y->mayEnable,
                                              x->mayDisable || y->mayDisable});
            ++x;
            ++y;
        }
    }
}
