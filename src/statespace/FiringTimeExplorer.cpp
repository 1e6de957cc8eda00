// Exploration of stored markings when they come up, see FiringTimeExplorer.h.
// The handling of a successor follows the entry handlers of the queue
// (EntryHandlers.cpp) step by step: the same activation combinations, the
// same combination of edge values, the same intermediate markings.
#include "statespace/FiringTimeExplorer.h"

#include <memory>
#include <vector>

#include "netmodel/EnablingSets.h"
#include "netmodel/MarkingVectors.h"
#include "netmodel/NetArrays.h"
#include "netmodel/PendingSuccessors.h"
#include "netmodel/Transition.h"
#include "statespace/Activation.h"
#include "statespace/DependentTransitions.h"
#include "statespace/DelayCombination.h"
#include "statespace/GenerationState.h"
#include "statespace/VanishingResolver.h"
#include "statedata/Marking.h"
#include "statedata/MarkingCode.h"
#include "statedata/NetCounts.h"

namespace {

bool IsDetOrGen(const DelayVal& d)
{
    return d.GetDelayType() == kDelayDeterministic || d.GetDelayType() == kDelayGeneral;
}

bool WithIntermediates()
{
    return no_of_det_transitions != 0 || no_of_gen_transitions != 0 || no_of_mix_transitions != 0;
}

// The edges of a successor (vector, ata) reached with `edge` from `source`,
// once the activation has left its branches in ExcStartMark (or none).
// After a deterministic or general firing the successor itself is kept as
// an intermediate marking and its branches wait for it.
void RequestBranches(Marking& source, const Pms& pms, const short* ata, const DelayVal& edge,
                     bool activated, bool intermediate)
{
    if (!activated) {
        RequestInterning(source, pms, ata, edge);
        return;
    }
    if (intermediate && IsDetOrGen(edge)) {
        auto* waiting = new DeferredEntries;
        for (exc_mark* em = &ExcStartMark; em; em = em->next)
            waiting->push_back(DeferredEntry{PendingMarking(pms, em->ata), *em, false});
        RequestInterning(source, pms, ata, edge, waiting);
        return;
    }
    for (exc_mark* em = &ExcStartMark; em; em = em->next) {
        DelayVal branch = *em;
        CheckAndCorrectDelayVal(edge, branch);
        RequestInterning(source, pms, em->ata, branch);
    }
}

// A successor that the new contents hold right after its firing, in a net
// without immediate transitions: its activation is tested on them.
class FiredNow {
public:
    void Prepare() { vector.Prepare(); }

    // Reads the successor of transition number transNo (its binding
    // `fired`) from the new contents, where both contents held `actual`
    // before, and activates its dependents there.
    void Look(const Pms& actual, const short* ata, int transNo, const Binding& fired)
    {
        vector.MakeAfter(actual, fired);
        after.reset(MakeNewAta(ata, static_cast<short>(transNo - 1)));
        activated = no_of_exc_transitions != 0 &&
                    Activate(after.get(), DependentExclusives(transNo), true);
    }
    void Request(Marking& source, const DelayVal& edge)
    {
        RequestBranches(source, vector.Current(), after.get(), edge, activated, WithIntermediates());
    }

private:
    struct AtaRelease {
        void operator()(short* a) const { clear_ata(a); }
    };
    NewContentsVector vector;
    std::unique_ptr<short, AtaRelease> after;
    bool activated = false;
};

FiredNow firedNow;

// The successors of a marking in a net with immediate transitions: kept
// until every firing is done, then resolved one by one.
struct Fired {
    PendingMarking* marking;
    DelayVal edge;
    int transNo;
};
std::vector<Fired> fired;

// The vector of the marking being explored, loaded into both contents.
const Pms* savedPms = nullptr;

void Found(const short* ata, int transNo, const Binding& b, const DelayVal& edge)
{
    if (no_of_imm_transitions != 0) {
        fired.push_back(Fired{MakeSuccessorMarking(ata, transNo, *savedPms, b), edge, transNo});
        return;
    }
    firedNow.Look(*savedPms, ata, transNo, b);
    firedNow.Request(*SavedMarking, edge);
}

void FireExclusive(const short* ata)
{
    if (!ata) return;
    for (unsigned short i = 0; i < no_of_exc_transitions; ++i) {
        if (ata[i] == 0) continue;
        Transition& t = *ExcTrans[i];
        double value = 0.0;
        Binding* b = t.FireActive(ata, value);
        if (value != 0.0) Found(ata, t.GetNo(), *b, b->Record(value, t.GetNo()));
        if (b) b->CpyActToNew();
    }
}

// An infinite-server binding serves every token at once: its successor is
// the one of a single firing, its rate multiplied by the enabling degree
// (counted after the successor is looked at).
void FireInfinite(const short* ata)
{
    for (unsigned short j = 0; j < no_of_inf_transitions; ++j) {
        Transition& t = *InfTrans[j];
        if (!t.IsActEnabled() || !t.GetBindings()) continue;
        for (PLElement<Binding>* e = t.GetBindings()->first; e; e = e->next) {
            Binding& b = *e->item;
            double v = b.VirtualFire();
            if (v != 0.0) {
                if (no_of_imm_transitions != 0) {
                    PendingMarking* succ = MakeSuccessorMarking(ata, t.GetNo(), *savedPms, b);
                    fired.push_back(Fired{succ, b.Record(v * b.EnablingDegree(), t.GetNo()), t.GetNo()});
                } else {
                    firedNow.Look(*savedPms, ata, t.GetNo(), b);
                    firedNow.Request(*SavedMarking, b.Record(v * b.EnablingDegree(), t.GetNo()));
                }
            }
            b.CpyActToNew();
        }
    }
}

VanishingResolver resolver;

// A tangible marking reached through immediate firings, with the value of
// its edge: its exclusive transitions among `candidates` are activated on
// its own contents, read from its flat form where there is one.
void RequestReached(Marking& source, const Pms& pms, const short* ata, const DelayVal& edge,
                    const std::vector<unsigned short>& candidates, const std::uint16_t* flat)
{
    if (no_of_exc_transitions == 0) {
        RequestInterning(source, pms, ata, edge);
        return;
    }
    bool activated;
    if (flat) {
        activated = ActivateOnCounts(ata, candidates, resolver.Counts(), flat);
    } else {
        InitRefPms(pms);
        activated = Activate(ata, candidates, false);
    }
    RequestBranches(source, pms, ata, edge, activated, false);
}

// The entry of one successor in a net with immediate transitions.
void HandleWithImmediates(Marking& source, Fired& f)
{
    const std::vector<VanishingResolver::Reached>& reached = resolver.Resolve(
        f.marking->GetPms(), f.marking->GetAta(), DependentImmediates(f.transNo));
    if (reached.empty()) {
        // Tangible: as in a net without immediate transitions, on the
        // actual contents.
        if (no_of_exc_transitions == 0) {
            RequestInterning(source, f.marking->GetPms(), f.marking->GetAta(), f.edge);
            return;
        }
        const std::vector<unsigned short>& candidates = DependentExclusives(f.transNo);
        bool activated;
        if (resolver.OnCounts()) {
            activated = ActivateOnCounts(f.marking->GetAta(), candidates, resolver.Counts(),
                                         resolver.SuccessorFlat());
        } else {
            InitRefPms(f.marking->GetPms());
            activated = Activate(f.marking->GetAta(), candidates, false);
        }
        RequestBranches(source, f.marking->GetPms(), f.marking->GetAta(), f.edge, activated,
                        WithIntermediates());
        return;
    }
    if (WithIntermediates() && IsDetOrGen(f.edge)) {
        auto* waiting = new DeferredEntries;
        for (const VanishingResolver::Reached& r : reached) {
            waiting->push_back(DeferredEntry{PendingMarking(*r.pms, r.ata),
                                             DelayVal(r.value, kDelayImmediate), true});
        }
        RequestInterning(source, f.marking->GetPms(), f.marking->GetAta(), f.edge, waiting);
        return;
    }
    const std::vector<unsigned short>& candidates = resolver.ExclusivesToActivate(f.transNo);
    for (const VanishingResolver::Reached& r : reached) {
        DelayVal edge(r.value, kDelayImmediate);
        CheckAndCorrectDelayVal(f.edge, edge);
        RequestReached(source, *r.pms, r.ata, edge, candidates, r.flat);
    }
}

void (*explorationObserver)(const Pms&) = nullptr;

void ExploreStored(const std::uint8_t* code, Marking& m)
{
    static DecodedMarking contents;
    contents.Decode(code);
    if (explorationObserver) explorationObserver(contents.GetPms());
    InitRefPms(contents.GetPms());
    SavedMarking = &m;
    SavedAta = contents.GetAta();
    savedPms = &contents.GetPms();
    FireExclusive(SavedAta);
    FireInfinite(SavedAta);
    if (no_of_imm_transitions == 0) return;
    HandlingEntries(true);
    for (Fired& f : fired) {
        HandleWithImmediates(m, f);
        delete f.marking;
    }
    fired.clear();
    HandlingEntries(false);
}

// The entries of an intermediate marking: the branches of the activation
// that followed its deterministic or general firing, or the tangible
// markings the immediate firings after it reached.
void ExploreIntermediate(Marking& m, DeferredEntries& waiting)
{
    HandlingEntries(true);
    for (DeferredEntry& e : waiting) {
        if (e.reached)
            RequestReached(m, e.marking.GetPms(), e.marking.GetAta(), e.delay, AllExclusives(), nullptr);
        else
            RequestInterning(m, e.marking.GetPms(), e.marking.GetAta(), e.delay);
    }
    HandlingEntries(false);
}

}  // namespace

void PrepareExplorer()
{
    firedNow.Prepare();
    resolver.Prepare();
}

void ObserveExploration(void (*observer)(const Pms& contents))
{
    explorationObserver = observer;
}

void ExploreMarking(Marking& m, DeferredEntries* deferred)
{
    if (deferred)
        ExploreIntermediate(m, *deferred);
    else
        ExploreStored(m.GetCode(), m);
}

void ExploreCode(const std::uint8_t* code, Marking& source)
{
    ExploreStored(code, source);
}
