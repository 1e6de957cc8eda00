// Exploration of stored markings when they come up, see FiringTimeExplorer.h.
// The handling of a successor follows the entry handlers of the queue
// (EntryHandlers.cpp) step by step: the same activation combinations, the
// same combination of edge values, the same intermediate markings.
#include "statespace/FiringTimeExplorer.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "netmodel/EnablingSets.h"
#include "netmodel/MarkingVectors.h"
#include "netmodel/NetArrays.h"
#include "netmodel/PendingSuccessors.h"
#include "netmodel/Place.h"
#include "netmodel/PlainImmediates.h"
#include "netmodel/Transition.h"
#include "statespace/Activation.h"
#include "statespace/AppendBuffer.h"
#include "statespace/DependentTransitions.h"
#include "statespace/DelayCombination.h"
#include "statespace/GenerationState.h"
#include "statespace/KeptBindingOrder.h"
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

VanishingResolver resolver;
FlatLayout flatLayout;  // of the resolver's counts

// The contents of a successor: its vector, or its flat form (laid out as the
// resolver's counts are) where it has one.
struct Contents {
    const Pms* pms;
    const std::uint16_t* flat;
};

void Request(Marking& source, const Contents& c, const short* ata, const DelayVal& edge, InfOrder order)
{
    if (c.flat)
        RequestInterningFlat(source, c.flat, flatLayout, ata, edge, order);
    else
        RequestInterning(source, *c.pms, ata, edge, order);
}

// The edges of a successor (contents, ata) reached with `edge` from
// `source`, once the activation has left its branches in
// ActivatedBranches() (or none); `unknownInf` as in InfOrder. After a
// deterministic or general firing the successor itself is kept as an
// intermediate marking and its branches wait for it, each an entry of its
// own (a successor in flat form is never one).
void RequestBranches(Marking& source, const Contents& c, const short* ata, const DelayVal& edge,
                     bool activated, bool intermediate, KeptOrderSet unknownInf)
{
    if (!activated) {
        Request(source, c, ata, edge, InfOrder{unknownInf});
        return;
    }
    if (intermediate && IsDetOrGen(edge)) {
        auto* waiting = new DeferredEntries;
        for (const ActivationBranch& b : ActivatedBranches())
            waiting->push_back(DeferredEntry{PendingMarking(*c.pms, b.ata), b.value, false, unknownInf});
        RequestInterning(source, *c.pms, ata, edge, InfOrder{}, waiting);
        return;
    }
    bool sameFiring = false;
    for (const ActivationBranch& b : ActivatedBranches()) {
        DelayVal branch = b.value;
        CheckAndCorrectDelayVal(edge, branch);
        Request(source, c, b.ata, branch, InfOrder{unknownInf, sameFiring});
        sameFiring = true;
    }
}

// A successor that the new contents hold right after its firing, in a net
// without immediate transitions: its activation is tested on them.
class FiredNow {
public:
    void Prepare() { vector.Prepare(); }

    // Reads the successor of transition number transNo (its binding
    // `fired`) from the new contents, where both contents held `actual`
    // before with `ata` (its entries that are not 0 are `active`), and
    // activates its dependents there.
    void Look(const Pms& actual, const short* ata, const std::vector<unsigned>& active, int transNo,
              const Binding& fired)
    {
        vector.MakeAfter(actual, fired);
        firedNo = transNo;
        after.reset(MakeNewAta(ata, active, static_cast<short>(transNo - 1)));
        activated = no_of_exc_transitions != 0 &&
                    Activate(after.get(), ata, DependentExclusives(transNo), true);
    }
    void Request(Marking& source, const DelayVal& edge)
    {
        RequestBranches(source, Contents{&vector.Current(), nullptr}, after.get(), edge, activated,
                        WithIntermediates(), InfChangedBy(firedNo));
    }

private:
    struct AtaRelease {
        void operator()(short* a) const { clear_ata(a); }
    };
    NewContentsVector vector;
    std::unique_ptr<short, AtaRelease> after;
    int firedNo = 0;
    bool activated = false;
};

FiredNow firedNow;

// The successors of a marking in a net with immediate transitions: kept
// until every firing is done, then resolved one by one. Where the resolver
// works on counts and no firing ends in an intermediate marking, each is
// kept in flat form (`flat` words into `firedFlats`, and its ata at `ata`
// in `firedAtas`, or kNoAta), written from the flat form of the marking
// explored and the new contents of the fired binding's places; otherwise as
// a marking.
struct Fired {
    PendingMarking* marking = nullptr;
    DelayVal edge;
    int transNo;
    std::size_t ata;
    std::size_t flat;
};
constexpr std::size_t kNoAta = static_cast<std::size_t>(-1);
std::vector<Fired> fired;
bool flatSuccessors = false;
// Where the timed firings are known on counts too (TimedUsable), a stored
// marking is read into its flat form and fired there: the places are never
// loaded.
bool timedOnCounts = false;
std::vector<std::uint16_t> savedFlat;
AppendBuffer<std::uint16_t> firedFlats;
AppendBuffer<short> firedAtas;

// The vector of the marking being explored, loaded into both contents, and
// its ata's entries that are not 0.
const Pms* savedPms = nullptr;
const std::vector<unsigned>* savedActive = nullptr;

// The fired binding's places as the new contents hold them, written over
// the flat form `flat`.
void WriteNewContents(const Binding& b, std::uint16_t* flat)
{
    const PlainImmediates& counts = resolver.Counts();
    for (const PtrList<Arc>* arcs : {b.GetInArcs(), b.GetOutArcs()}) {
        if (!arcs) continue;
        for (const PLElement<Arc>* a = arcs->first; a; a = a->next) {
            const int place = a->item->GetPlace()->GetNo();
            const std::uint16_t slots = counts.PlaceSlots()[static_cast<std::size_t>(place)];
            std::uint16_t* w = flat + counts.PlaceWord(place);
            std::fill(w, w + 1 + slots, 0);
            const PTms* t = PlaceArray[place]->GetNewTms();
            if (!t || t->quant == 0 || slots == 0) continue;
            w[0] = t->quant;
            for (int s = 0; t->entries && s < t->size && s < slots; ++s) w[1 + s] = t->entries[s].quant;
        }
    }
}

// Keeps the successor whose flat form is written at `at` in firedFlats,
// reached by a firing of transition number transNo on `ata`, the ata of the
// marking explored (its entries that are not 0 are savedActive).
void KeepFlat(const short* ata, int transNo, const DelayVal& edge, std::size_t at)
{
    std::size_t kept = firedAtas.Take(no_of_exc_transitions);
    if (!MakeNewAtaOnCounts(ata, *savedActive, static_cast<short>(transNo - 1), resolver.Counts(),
                            firedFlats.At(at), firedAtas.At(kept))) {
        firedAtas.GiveBack(kept);
        kept = kNoAta;
    }
    // Written in place, field by field: a whole record built on the stack
    // and copied by wide loads across its narrow stores stalls each time.
    Fired& f = fired.emplace_back();
    f.edge = edge;
    f.transNo = transNo;
    f.ata = kept;
    f.flat = at;
}

// Keeps the successor that the new contents hold after binding b of
// transition number transNo fired on `ata`.
void KeepFired(const short* ata, int transNo, const Binding& b, const DelayVal& edge)
{
    if (!flatSuccessors) {
        fired.push_back(Fired{MakeSuccessorMarking(ata, transNo, *savedPms, b), edge, transNo, kNoAta, 0});
        return;
    }
    const std::size_t at = firedFlats.Take(savedFlat.size());
    std::copy(savedFlat.begin(), savedFlat.end(), firedFlats.At(at));
    WriteNewContents(b, firedFlats.At(at));
    KeepFlat(ata, transNo, edge, at);
}

// A timed firing on counts, from the flat form of the marking explored:
// fire(to) writes the successor and answers the binding fired and the value
// of its edge (none when 0). Answers whether it fired.
template <class Fire>
bool KeepFiredOnCounts(const short* ata, int transNo, Fire fire)
{
    const std::size_t at = firedFlats.Take(savedFlat.size());
    const auto [binding, value] = fire(firedFlats.At(at));
    if (value == 0.0) {
        firedFlats.GiveBack(at);
        return false;
    }
    KeepFlat(ata, transNo, binding->Record(value, transNo), at);
    return true;
}

// The infinite-server transitions that the marking explored fires in
// binding order (InfOrder); the others of more than two bindings fire in
// their kept order.
KeptOrderSet exploredUnknownInf = 0;

bool FiresInKeptOrder(unsigned short j)
{
    return (InfBit(j) & ~exploredUnknownInf) != 0;
}

// Tries the bindings 0 .. count - 1 of infinite-server transition j with
// fire(k), which answers whether binding k was enabled, in the order the
// queue fires them.
template <class Fire>
void FireInfiniteInOrder(unsigned short j, std::size_t count, Fire fire)
{
    if (FiresInKeptOrder(j)) {
        FireInKeptOrder(count, fire);
        return;
    }
    for (std::size_t k = 0; k < count; ++k) fire(k);
}

// FireExclusive and FireInfinite on the flat form of the marking explored,
// whose ata's entries that are not 0 are `active` (in ascending order).
void FireTimedOnCounts(const short* ata, const std::vector<unsigned>& active)
{
    const PlainImmediates& counts = resolver.Counts();
    const std::uint16_t* from = savedFlat.data();
    for (unsigned i : active) {
        const auto exclusive = static_cast<unsigned short>(i);
        KeepFiredOnCounts(ata, ExcTrans[i]->GetNo(), [&](std::uint16_t* to) {
            return counts.FireExclusive(exclusive, ata[i], from, to);
        });
    }
    for (unsigned short j = 0; j < no_of_inf_transitions; ++j)
        FireInfiniteInOrder(j, counts.InfiniteBindings(j), [&](std::size_t k) {
            return KeepFiredOnCounts(ata, InfTrans[j]->GetNo(), [&](std::uint16_t* to) {
                int degree = 0;
                PlainImmediates::TimedFiring f = counts.FireInfinite(j, k, from, to, degree);
                f.value *= degree;
                return f;
            });
        });
}

void Found(const short* ata, int transNo, const Binding& b, const DelayVal& edge)
{
    if (no_of_imm_transitions != 0) {
        KeepFired(ata, transNo, b, edge);
        return;
    }
    firedNow.Look(*savedPms, ata, *savedActive, transNo, b);
    firedNow.Request(*SavedMarking, edge);
}

// Fires the active exclusive transitions of `ata`, whose entries that are
// not 0 are `active` (none without an ata).
void FireExclusive(const short* ata, const std::vector<unsigned>& active)
{
    for (unsigned i : active) {
        Transition& t = *ExcTrans[i];
        double value = 0.0;
        Binding* b = t.FireActive(ata, value);
        if (value != 0.0) Found(ata, t.GetNo(), *b, b->Record(value, t.GetNo()));
        if (b) b->CpyActToNew();
    }
}

// An infinite-server binding serves every token at once: its successor is
// the one of a single firing, its rate multiplied by the enabling degree.
// Counting the degree may fire the binding further on the new contents (a
// guard that reads the marking has no closed form), so the successor is
// taken first and the edge's value set afterwards. Answers whether b was
// enabled.
bool FireInfiniteBinding(const short* ata, const Transition& t, Binding& b)
{
    const double v = b.VirtualFire();
    if (v != 0.0) {
        if (no_of_imm_transitions != 0) {
            KeepFired(ata, t.GetNo(), b, DelayVal());
            fired.back().edge = b.Record(v * b.EnablingDegree(), t.GetNo());
        } else {
            firedNow.Look(*savedPms, ata, *savedActive, t.GetNo(), b);
            firedNow.Request(*SavedMarking, b.Record(v * b.EnablingDegree(), t.GetNo()));
        }
    }
    b.CpyActToNew();
    return v != 0.0;
}

void FireInfinite(const short* ata)
{
    static std::vector<Binding*> bindings;
    for (unsigned short j = 0; j < no_of_inf_transitions; ++j) {
        Transition& t = *InfTrans[j];
        if (!t.IsActEnabled() || !t.GetBindings()) continue;
        bindings.clear();
        for (PLElement<Binding>* e = t.GetBindings()->first; e; e = e->next) bindings.push_back(e->item);
        FireInfiniteInOrder(j, bindings.size(),
                            [&](std::size_t k) { return FireInfiniteBinding(ata, t, *bindings[k]); });
    }
}

// A tangible marking reached through immediate firings, with the value of
// its edge: its exclusive transitions among `candidates` are activated on
// its own contents, read from its flat form where there is one (then its
// vector may be null); `firedFrom` is the ata of the marking whose firings
// reached it.
void RequestReached(Marking& source, const Pms* pms, const short* ata, const DelayVal& edge,
                    const std::vector<DependentExclusive>& candidates, const std::uint16_t* flat,
                    const short* firedFrom, KeptOrderSet unknownInf)
{
    const Contents c{pms, flat};
    if (no_of_exc_transitions == 0) {
        Request(source, c, ata, edge, InfOrder{unknownInf});
        return;
    }
    bool activated;
    if (flat) {
        activated = ActivateOnCounts(ata, firedFrom, candidates, resolver.Counts(), flat);
    } else {
        InitRefPms(*pms);
        activated = Activate(ata, firedFrom, candidates, false);
    }
    RequestBranches(source, c, ata, edge, activated, false, unknownInf);
}

// The entry of one successor in a net with immediate transitions, fired
// from the marking explored, whose ata is SavedAta.
void HandleWithImmediates(Marking& source, Fired& f)
{
    const short* ata = f.marking ? f.marking->GetAta() : f.ata == kNoAta ? nullptr : firedAtas.At(f.ata);
    const Contents successor = f.marking ? Contents{&f.marking->GetPms(), nullptr}
                                         : Contents{nullptr, firedFlats.At(f.flat)};
    const std::vector<unsigned short>& immediates = DependentImmediates(f.transNo);
    const KeptOrderSet unknownInf = InfChangedBy(f.transNo);
    const std::vector<VanishingResolver::Reached>& reached =
        f.marking ? resolver.Resolve(*successor.pms, ata, immediates, unknownInf)
                  : resolver.ResolveFlat(successor.flat, ata, immediates, unknownInf);
    if (reached.empty()) {
        // Tangible: as in a net without immediate transitions, on the
        // actual contents.
        if (no_of_exc_transitions == 0) {
            Request(source, successor, ata, f.edge, InfOrder{unknownInf});
            return;
        }
        const std::vector<DependentExclusive>& candidates = DependentExclusives(f.transNo);
        bool activated;
        if (resolver.OnCounts()) {
            activated = ActivateOnCounts(ata, SavedAta, candidates, resolver.Counts(), resolver.SuccessorFlat());
        } else {
            InitRefPms(*successor.pms);
            activated = Activate(ata, SavedAta, candidates, false);
        }
        RequestBranches(source, successor, ata, f.edge, activated, WithIntermediates(), unknownInf);
        return;
    }
    if (WithIntermediates() && IsDetOrGen(f.edge)) {
        auto* waiting = new DeferredEntries;
        for (const VanishingResolver::Reached& r : reached) {
            waiting->push_back(DeferredEntry{PendingMarking(*r.pms, r.ata),
                                             DelayVal(r.value, kDelayImmediate), true, r.unknownInf});
        }
        RequestInterning(source, *successor.pms, ata, f.edge, InfOrder{}, waiting);
        return;
    }
    const std::vector<DependentExclusive>& candidates = resolver.ExclusivesToActivate(f.transNo);
    for (const VanishingResolver::Reached& r : reached) {
        DelayVal edge(r.value, kDelayImmediate);
        CheckAndCorrectDelayVal(f.edge, edge);
        RequestReached(source, r.pms, r.ata, edge, candidates, r.flat, SavedAta, r.unknownInf);
    }
}

void (*explorationObserver)(const Pms&) = nullptr;

// The contents of a stored marking, loaded into the places and fired there.
void FireOnPlaces(const std::uint8_t* code)
{
    static DecodedMarking contents;
    contents.Decode(code);
    if (explorationObserver) explorationObserver(contents.GetPms());
    InitRefPms(contents.GetPms());
    SavedAta = contents.GetAta();
    savedPms = &contents.GetPms();
    savedActive = &contents.ActiveEntries();
    if (flatSuccessors) resolver.Counts().Flatten(contents.GetPms(), savedFlat.data());
    FireExclusive(SavedAta, *savedActive);
    FireInfinite(SavedAta);
}

// The same on its flat form; false when the code has none.
bool FireOnCounts(const std::uint8_t* code)
{
    static DecodedMarking contents;
    if (!timedOnCounts || explorationObserver ||
        !contents.DecodeFlat(code, flatLayout, savedFlat.data()))
        return false;
    SavedAta = contents.GetAta();
    savedPms = nullptr;
    savedActive = &contents.ActiveEntries();
    FireTimedOnCounts(SavedAta, *savedActive);
    return true;
}

void ExploreStored(const std::uint8_t* code, Marking& m, KeptOrderSet unknownInf)
{
    SavedMarking = &m;
    exploredUnknownInf = unknownInf;
    if (!FireOnCounts(code)) FireOnPlaces(code);
    if (no_of_imm_transitions == 0) return;
    HandlingEntries(true);
    for (Fired& f : fired) {
        HandleWithImmediates(m, f);
        delete f.marking;
    }
    fired.clear();
    firedFlats.Clear();
    firedAtas.Clear();
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
            RequestReached(m, &e.marking.GetPms(), e.marking.GetAta(), e.delay, AllExclusives(), nullptr,
                           nullptr, e.unknownInf);
        else
            RequestInterning(m, e.marking.GetPms(), e.marking.GetAta(), e.delay, InfOrder{e.unknownInf});
    }
    HandlingEntries(false);
}

}  // namespace

void PrepareExplorer()
{
    firedNow.Prepare();
    // Only an intermediate marking's entries keep the vectors of what
    // immediate firings reached.
    resolver.Prepare(WithIntermediates());
    flatSuccessors = no_of_imm_transitions != 0 && resolver.OnCounts() && !WithIntermediates();
    timedOnCounts = flatSuccessors && resolver.Counts().TimedUsable();
    savedFlat.assign(flatSuccessors ? resolver.Counts().Words() : 0, 0);
    flatLayout = resolver.OnCounts() ? FlatLayout(resolver.Counts().PlaceSlots()) : FlatLayout();
}

void ObserveExploration(void (*observer)(const Pms& contents))
{
    explorationObserver = observer;
}

void ExploreMarking(const MarkingToExplore& m, DeferredEntries* deferred)
{
    if (deferred)
        ExploreIntermediate(*m.marking, *deferred);
    else
        ExploreStored(m.marking->GetCode(), *m.marking, m.unknownInf);
}

void ExploreCode(const std::uint8_t* code, Marking& source, KeptOrderSet unknownInf)
{
    ExploreStored(code, source, unknownInf);
}
