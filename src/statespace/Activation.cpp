// Activation of exclusive transitions. Seen as a tree, its levels are the
// exclusive transitions in class order: a node that activates transition i
// gets one child per enabled binding (probability weight / total weight),
// and every path considers every transition once; the leaves, with the
// product of the probabilities on their path, are the branches. All nodes
// of one level see the same places and the same entries beyond their level,
// so each transition's bindings are evaluated once and the leaves are the
// combinations of the choices, the first transition varying slowest (the
// depth-first order of the tree).
#include "statespace/Activation.h"

#include <algorithm>
#include <vector>

#include "netmodel/EnablingSets.h"
#include "netmodel/MarkingVectors.h"
#include "netmodel/NetArrays.h"
#include "netmodel/PlainImmediates.h"
#include "netmodel/Place.h"
#include "netmodel/Transition.h"
#include "statespace/AppendBuffer.h"
#include "statespace/DependentTransitions.h"
#include "statespace/GenerationState.h"
#include "statespace/KeptBindingOrder.h"
#include "statedata/PendingMarking.h"
#include "statedata/NetCounts.h"
#include "statedata/TDep.h"
#include "statedata/TNos.h"

namespace {

struct Branch {
    short binding;  // 1-based position in the transition's binding list
    double probability;
};

struct Level {
    unsigned short transition;
    std::size_t first;  // its branches in `branches`
    std::size_t count;
};

std::vector<Level> levels;
std::vector<Branch> branches;

// Whether a transition found disabled may be marked so in the enabling set
// (status 0, skipped by the next activations) until a transition it depends
// on fires. That holds when the dependency records cover every way a firing
// can change its enabling: not when a capacity or an arc inscription reads
// the marking of places the transition does not touch.
bool rememberDisabled = false;
bool whenFiredAllowed = true;

// The probability of a branch with the given weight among enabled bindings
// of the given total weight.
double BranchProbability(double weight, double total)
{
    double w = DelayVal(weight, kDelayProbability).GetDelayVal();
    return DelayVal(w / total, kDelayProbability).GetDelayVal();
}

bool ReadsMarking(const PtrList<Arc>* arcs)
{
    if (arcs)
        for (PLElement<Arc>* a = arcs->first; a; a = a->next)
            if (a->item->GetTmsCell() && a->item->GetTmsCell()->IsPlaceDependent()) return true;
    return false;
}

bool ClassReadsMarking(Transition** transitions, unsigned short n)
{
    for (unsigned short i = 0; i < n; ++i) {
        if (!transitions[i]->GetBindings()) continue;
        for (PLElement<Binding>* b = transitions[i]->GetBindings()->first; b; b = b->next)
            if (ReadsMarking(b->item->GetInArcs()) || ReadsMarking(b->item->GetOutArcs()))
                return true;
    }
    return false;
}

bool DependenciesCoverEnabling()
{
    for (unsigned short p = 0; p < no_of_places; ++p)
        if (PlaceArray[p]->GetCapacity().IsPlaceDependent()) return false;
    return !ClassReadsMarking(ExcTrans, no_of_exc_transitions) &&
           !ClassReadsMarking(ImmTrans, no_of_imm_transitions) &&
           !ClassReadsMarking(InfTrans, no_of_inf_transitions);
}

// Appends the enabled bindings of exclusive transition i with their
// probabilities; forEachEnabled(take) hands each to take(binding, weight),
// the binding 1-based. False (and nothing appended) when none is enabled
// or their weights sum to zero.
template <class ForEachEnabled>
bool AddBranches(unsigned short i, ForEachEnabled forEachEnabled)
{
    const std::size_t first = branches.size();
    double total = 0.0;
    forEachEnabled([&total](short binding, double weight) {
        total += weight;
        branches.push_back(Branch{binding, weight});
    });
    if (branches.size() == first || total == 0.0) {
        branches.resize(first);
        return false;
    }
    for (std::size_t b = first; b < branches.size(); ++b)
        branches[b].probability = BranchProbability(branches[b].probability, total);
    levels.push_back(Level{i, first, branches.size() - first});
    return true;
}

// The same tested on the places' new contents or actual ones.
bool ChkAndActExc(unsigned short i, bool onNew = false)
{
    const Transition& t = *ExcTrans[i];
    return AddBranches(i, [&t, onNew](auto take) {
        if (!(onNew ? t.IsNewEnabled() : t.IsActEnabled()) || !t.GetBindings()) return;
        short k = 0;
        for (PLElement<Binding>* e = t.GetBindings()->first; e; e = e->next) {
            ++k;
            if (onNew ? e->item->IsNewEnabled() : e->item->IsActEnabled()) take(k, e->item->GetWeight());
        }
    });
}

// The ata the combinations are written into: the start's entries, or
// zeros. A wide net's ata is mostly activated from zeros, and then only the
// levels' entries of the last combinations are cleared, not the whole array.
class CombinationAta {
public:
    short* Start(const short* start)
    {
        const unsigned n = no_of_exc_transitions;
        if (start) {
            ata.assign(start, start + n);
            zerosButLevels = false;
        } else if (!zerosButLevels || ata.size() != n) {
            ata.assign(n, 0);
            zerosButLevels = true;
        } else {
            for (unsigned short i : written) ata[i] = 0;
        }
        written.clear();
        return ata.data();
    }
    // Entry i is written by a level.
    void Writes(unsigned short i) { written.push_back(i); }

private:
    std::vector<short> ata;
    std::vector<unsigned short> written;
    bool zerosButLevels = false;
};

// The branches of the explorer's activations (Activate, ActivateOnCounts),
// their atas in `branchAtas` until the last is written: a marking's
// successors are activated one after the other, and an exc_mark list would
// allocate and free every branch and its ata each time.
std::vector<ActivationBranch> activated;
std::vector<std::size_t> activatedAtaAt;
AppendBuffer<short> branchAtas;

// Every combination of one branch per level, in depth-first order, each
// handed to add(probability, ata).
template <class Add>
void AddCombinations(Add add)
{
    static std::vector<std::size_t> pick;
    static std::vector<double> path;
    static CombinationAta combination;
    pick.assign(levels.size(), 0);
    path.assign(levels.size() + 1, 1.0);
    short* ata = combination.Start(ExcStartAta);
    for (const Level& l : levels) combination.Writes(l.transition);
    std::size_t changed = 0;  // levels from here on need their path and entry set
    for (;;) {
        for (std::size_t l = changed; l < levels.size(); ++l) {
            const Branch& b = branches[levels[l].first + pick[l]];
            ata[levels[l].transition] = b.binding;
            path[l + 1] = path[l] * b.probability;
        }
        add(DelayVal(path[levels.size()], kDelayProbability), ata);
        std::size_t l = levels.size();
        while (l > 0 && ++pick[l - 1] == levels[l - 1].count) pick[--l] = 0;
        if (l == 0) return;
        changed = l - 1;
    }
}

}  // namespace

void PrepareActivation()
{
    PrepareKeptBindingOrder();
    rememberDisabled = DependenciesCoverEnabling();
    SortDependents(rememberDisabled);
    // Every active entry must be enabled in its own marking. The queue's
    // elimination leaves markings reached through immediate firings with the
    // ata of the vanishing marking untested; where markings are explored when
    // they come up, the resolver tests each entry on the reached marking, and
    // without bounds that test reads only the marking itself.
    const bool byDependencies =
        rememberDisabled &&
        (no_of_imm_transitions == 0 || (ActivationKnownWhenFired() && NoPlaceBounded()));
    SetAtaRefreshByDependencies(byDependencies ? DisablableExclusives()
                                               : std::vector<std::vector<unsigned short>>());
}

bool ActivationKnownWhenFired()
{
    if (!whenFiredAllowed || !rememberDisabled || !RefTDep) return false;
    for (unsigned t = 0; t < no_of_trans; ++t)
        if (!RefTDep[t]) return false;
    // The bindings an infinite-server or immediate transition was found
    // enabled with are fired later in the order they were kept, which the
    // exploration follows through sets of such transitions.
    return KeptOrderSetsFit();
}

void AllowExplorationWhenFired(bool allowed)
{
    whenFiredAllowed = allowed;
}

namespace {

// Activation of the candidates inactive in `start` that may be enabled or
// were active in `source` (see Activate), each tested with test(i).
template <class Test>
bool ActivateInactive(const short* start, const short* source, const std::vector<DependentExclusive>& candidates,
                      Test test)
{
    levels.clear();
    branches.clear();
    ExcStartAta = const_cast<short*>(start);
    for (const DependentExclusive& c : candidates) {
        const unsigned short i = c.exclusive;
        if (start && start[i] != 0) continue;
        if (c.mayEnable || (source && source[i] != 0)) test(i);
    }
    activated.clear();
    activatedAtaAt.clear();
    branchAtas.Clear();
    if (levels.empty()) return false;
    const std::size_t n = no_of_exc_transitions;
    if (branches.size() == levels.size()) {
        // One enabled binding per level, as most activations have: a single
        // combination, written straight into its room.
        short* ata = branchAtas.At(branchAtas.Take(n));
        if (start)
            std::copy(start, start + n, ata);
        else
            std::fill(ata, ata + n, 0);
        double path = 1.0;
        for (const Level& l : levels) {
            ata[l.transition] = branches[l.first].binding;
            path *= branches[l.first].probability;
        }
        activated.push_back(ActivationBranch{DelayVal(path, kDelayProbability), ata});
        return true;
    }
    AddCombinations([n](const DelayVal& value, const short* ata) {
        const std::size_t at = branchAtas.Take(n);
        std::copy(ata, ata + n, branchAtas.At(at));
        activated.push_back(ActivationBranch{value, nullptr});
        activatedAtaAt.push_back(at);
    });
    for (std::size_t b = 0; b < activated.size(); ++b) activated[b].ata = branchAtas.At(activatedAtaAt[b]);
    return true;
}

}  // namespace

bool Activate(const short* start, const short* source, const std::vector<DependentExclusive>& candidates,
              bool onNew)
{
    return ActivateInactive(start, source, candidates, [onNew](unsigned short i) { ChkAndActExc(i, onNew); });
}

const std::vector<ActivationBranch>& ActivatedBranches()
{
    return activated;
}

bool ActivateOnCounts(const short* start, const short* source,
                      const std::vector<DependentExclusive>& candidates, const PlainImmediates& counts,
                      const std::uint16_t* flat)
{
    return ActivateInactive(start, source, candidates, [&counts, flat](unsigned short i) {
        AddBranches(i, [&counts, flat, i](auto take) { counts.ExclusiveEnabledBindings(i, flat, take); });
    });
}

void NewInitExc(short reload)
{
    ExcStartAta = NewMarking->GetAta();
    RefTNos = *NewTNos;
    clear_em(ExcStartMark);
    if (reload) InitRefPms(NewMarking->GetPms());
}

void ImmInitExc(PendingMarking& reached, TNos* t)
{
    ExcStartAta = reached.GetAta();
    RefTNos = *t;
    clear_em(ExcStartMark);
    InitRefPms(reached.GetPms());
}

void HandleExcTransitions()
{
    levels.clear();
    branches.clear();
    for (unsigned short i = 0; i < no_of_exc_transitions; ++i) {
        if (RefTNos.exc[i] == 0) continue;
        if (ExcStartAta && ExcStartAta[i] != 0) continue;
        if (!ChkAndActExc(i) && rememberDisabled) RefTNos.exc[i] = 0;
    }
    if (!levels.empty())
        AddCombinations([](const DelayVal& value, const short* ata) { add_em(ExcStartMark, value, ata); });
}

void ClearNewExc()
{
    clear_em(ExcStartMark);
}
