// How often an infinite-server binding can fire again on the new contents,
// in closed form. Every further firing moves the same tokens, so each test a
// firing makes (an input slot or place total against the inscription, a
// capacity before and after) reads a quantity that changes by a fixed step
// per firing: the count is the smallest bound those tests allow, found
// without firing, in time linear in the arcs instead of in the degree.
//
// The count is the one repeated firing would give as long as nothing else
// moves between firings: the local condition reads no marking
// (inscriptions, capacities and delays are read on the actual contents,
// which firing leaves alone); no place is read by two input arcs and no
// input multiset names a colour twice (a second removal could find too few
// tokens and take less than it names); and no tested quantity passes the
// 16 bits it is kept in on the way. Otherwise the caller fires.
//
// What the arcs alone decide (whether the count can be told, the steps of
// the inputs and the tests they make) is worked out once per binding and
// kept until an arc changes: only the contents, the outputs' slots and the
// capacities are read at each call.
#include "netmodel/Binding.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr long kQuantityLimit = 65535;

// A quantity the firings change: one colour slot of a place, or its total
// (token -1). `step` is its change per firing; `tested` when a test reads it.
struct Quantity {
    PlaceHeader* place;
    int token;
    long now;
    long step;
    bool tested;
};

// A test that holds after i further firings while start + i * step >= 0.
struct Bound {
    long start;
    long step;
};

class Repeats {
public:
    Quantity& Of(PlaceHeader* place, int token)
    {
        for (Quantity& q : quantities)
            if (q.place == place && q.token == token) return q;
        quantities.push_back(Quantity{place, token, Now(place, token), 0, false});
        return quantities.back();
    }
    static long Now(PlaceHeader* place, int token)
    {
        const PTms* contents = place->GetNewTms();
        return token < 0 ? contents->quant : no_of_ptref(contents, static_cast<unsigned short>(token));
    }

    // Tests `quantity + offset <= limit` or `quantity >= need`, both read
    // before or after the firing.
    void AtMost(Quantity& q, long limit, long offset, bool afterFiring)
    {
        q.tested = true;
        long shift = afterFiring ? q.step : 0;
        bounds.push_back(Bound{limit - q.now - offset - shift, -q.step});
    }
    void AtLeast(Quantity& q, long need)
    {
        q.tested = true;
        bounds.push_back(Bound{q.now - need, q.step});
    }

    // Further firings the bounds allow, at most `most`; -1 when a tested
    // quantity would pass its 16 bits before the last test is read.
    int Count(int most) const
    {
        long count = most;
        for (const Bound& b : bounds) {
            if (b.start < 0)
                count = 0;
            else if (b.step < 0 && b.start / -b.step + 1 < count)
                count = b.start / -b.step + 1;
        }
        // The failing firing is tested too: before it and after it.
        for (const Quantity& q : quantities)
            if (q.tested && q.step > 0 && q.now + (count + 1) * q.step > kQuantityLimit) return -1;
        return static_cast<int>(count);
    }

    void Clear()
    {
        quantities.clear();
        bounds.clear();
    }

    std::vector<Quantity> quantities;
    std::vector<Bound> bounds;
};

bool HasSlot(const PTms* p, unsigned short token)
{
    for (short i = 0; i < p->size; ++i)
        if (p->entries[i].token == token) return true;
    return false;
}

// The inscription's colours are all distinct.
bool DistinctColours(const Tms* t)
{
    for (const ltoken* e = t->first; e; e = e->next)
        for (const ltoken* f = e->next; f; f = f->next)
            if (f->token == e->token) return false;
    return true;
}

}  // namespace

// What the arcs decide, see above; `verdict` is the answer for every
// contents (-1, 0) or 1 where the count must be read from them. A plan that
// evaluated an inscription (one that reads the marking) holds its values
// and serves one call only.
struct RepeatPlan {
    std::vector<std::unique_ptr<CellVal>> holders;
    bool kept;  // every inscription folded: valid until an arc changes
    std::uint64_t epoch;
    const PtrList<Arc>* inArcs;
    const PtrList<Arc>* outArcs;
    int inCount, outCount;
    int verdict;
    std::vector<Place*> places;  // of every arc, inputs first
    // The quantities the inputs step, in the order first met, and the
    // tests of the inputs (the quantity's index, the least it needs).
    struct Seed {
        PlaceHeader* place;
        int token;
        long step;
    };
    std::vector<Seed> seeds;
    std::vector<std::pair<std::size_t, long>> needs;
    // Each output arc: its inscription (null when empty) and what the
    // inputs take from its place.
    struct Output {
        Place* place;
        const Tms* tms;
        long taken;
    };
    std::vector<Output> outputs;
};

namespace {

int Count(const PtrList<Arc>* arcs)
{
    return arcs ? arcs->count : 0;
}

template <class Visit>
void EachArcOf(const PtrList<Arc>* arcs, Visit visit)
{
    for (const PLElement<Arc>* e = arcs ? arcs->first : nullptr; e; e = e->next) visit(*e->item);
}

std::shared_ptr<const RepeatPlan> MakePlan(const PtrList<Arc>* inArcs, const PtrList<Arc>* outArcs)
{
    auto plan = std::make_shared<RepeatPlan>();
    plan->epoch = Arc::FoldEpoch();
    plan->inArcs = inArcs;
    plan->outArcs = outArcs;
    plan->inCount = Count(inArcs);
    plan->outCount = Count(outArcs);
    plan->verdict = 1;
    plan->kept = true;
    std::vector<const Tms*> in;
    auto inscription = [&plan](const Arc& a) -> const Tms* {
        plan->holders.emplace_back();
        const Tms* t = a.Inscription(plan->holders.back());
        if (plan->holders.back()) plan->kept = false;  // not folded: evaluated at each use
        return t && t->first ? t : nullptr;
    };
    EachArcOf(inArcs, [&](const Arc& a) {
        plan->places.push_back(a.GetPlace());
        in.push_back(inscription(a));
    });
    EachArcOf(outArcs, [&](const Arc& a) {
        plan->places.push_back(a.GetPlace());
        plan->outputs.push_back(RepeatPlan::Output{a.GetPlace(), inscription(a), 0});
    });

    auto seed = [&plan](PlaceHeader* p, int token) -> std::size_t {
        for (std::size_t k = 0; k < plan->seeds.size(); ++k)
            if (plan->seeds[k].place == p && plan->seeds[k].token == token) return k;
        plan->seeds.push_back(RepeatPlan::Seed{p, token, 0});
        return plan->seeds.size() - 1;
    };
    for (std::size_t k = 0; k < in.size(); ++k) {
        const Tms* t = in[k];
        if (!t) {  // an empty input inscription is never enabled
            plan->verdict = 0;
            return plan;
        }
        if (!DistinctColours(t)) {
            plan->verdict = -1;
            return plan;
        }
        PlaceHeader* p = plan->places[k]->GetPlaceHeader();
        for (std::size_t other = 0; other < in.size(); ++other)
            if (other != k && plan->places[other]->GetPlaceHeader() == p) {
                plan->verdict = -1;
                return plan;
            }
        for (const ltoken* e = t->first; e; e = e->next) {
            plan->seeds[seed(p, e->token)].step -= e->quant;
            plan->seeds[seed(p, -1)].step -= e->quant;
        }
    }
    for (std::size_t k = 0; k < in.size(); ++k) {
        PlaceHeader* p = plan->places[k]->GetPlaceHeader();
        plan->needs.emplace_back(seed(p, -1), in[k]->quant);
        for (const ltoken* e = in[k]->first; e; e = e->next) plan->needs.emplace_back(seed(p, e->token), e->quant);
    }
    for (RepeatPlan::Output& o : plan->outputs)
        for (std::size_t k = 0; k < in.size(); ++k)
            if (plan->places[k]->GetNo() == o.place->GetNo()) o.taken += in[k]->quant;
    return plan;
}

}  // namespace

int Binding::FurtherFirings(int most) const
{
    if (!localCond.IsConstant()) return -1;
    if (!localCond.NewCondTrue()) return 0;
    std::shared_ptr<const RepeatPlan> fresh;
    const RepeatPlan* plan = repeatPlan.get();
    if (!plan || plan->epoch != Arc::FoldEpoch() || plan->inArcs != inArcs || plan->outArcs != outArcs ||
        plan->inCount != Count(inArcs) || plan->outCount != Count(outArcs)) {
        fresh = MakePlan(inArcs, outArcs);
        repeatPlan = fresh->kept ? fresh : nullptr;
        plan = fresh.get();
    }
    for (Place* p : plan->places)
        if (!p->GetNewTms()) return -1;
    if (plan->verdict <= 0) return plan->verdict;

    // Asked once per successor of every infinite-server firing: the lists
    // keep their room from one call to the next.
    thread_local Repeats r;
    r.Clear();
    for (const RepeatPlan::Seed& s : plan->seeds)
        r.quantities.push_back(Quantity{s.place, s.token, Repeats::Now(s.place, s.token), s.step, false});
    // The steps of the outputs: a colour without a slot in its place is
    // ignored by firing.
    for (const RepeatPlan::Output& o : plan->outputs) {
        if (!o.tms) continue;
        PlaceHeader* p = o.place->GetPlaceHeader();
        for (const ltoken* e = o.tms->first; e; e = e->next) {
            if (!HasSlot(p->GetNewTms(), e->token)) continue;
            r.Of(p, e->token).step += e->quant;
            r.Of(p, -1).step += e->quant;
        }
    }

    // The tests, as IsNewEnabled and the check after firing make them.
    for (const auto& [quantity, need] : plan->needs) r.AtLeast(r.quantities[quantity], need);
    // An unbounded place takes whatever a 16-bit total can hold: its
    // capacity tests always pass.
    for (const RepeatPlan::Output& o : plan->outputs) {
        long cap = o.place->GetCapacity().GetCap();
        if (cap == Capacity::kUnbounded) continue;
        Quantity& total = r.Of(o.place->GetPlaceHeader(), -1);
        long n = o.tms ? o.tms->quant : 0;
        if (HasIn()) {
            if (n - o.taken > 0) r.AtMost(total, cap, n - o.taken, false);
        } else if (n != 0) {
            r.AtMost(total, cap, n, false);
        }
        r.AtMost(total, cap, 0, true);
    }
    return r.Count(most);
}
