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
#include "netmodel/Binding.h"

#include <memory>
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
        const PTms* contents = place->GetNewTms();
        long now = token < 0 ? contents->quant : no_of_ptref(contents, static_cast<unsigned short>(token));
        quantities.push_back(Quantity{place, token, now, 0, false});
        return quantities.back();
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

int Binding::FurtherFirings(int most) const
{
    if (!localCond.IsConstant()) return -1;
    if (!localCond.NewCondTrue()) return 0;
    // Asked once per successor of every infinite-server firing: the lists
    // keep their room from one call to the next.
    struct Inscribed {
        Arc* arc;
        const Tms* tms;
    };
    thread_local Repeats r;
    thread_local std::vector<std::unique_ptr<CellVal>> holders;
    thread_local std::vector<Inscribed> in, out;
    r.Clear();
    holders.clear();
    in.clear();
    out.clear();
    auto read = [](PtrList<Arc>* arcs, std::vector<Inscribed>& into) {
        if (!arcs) return true;
        for (PLElement<Arc>* e = arcs->first; e; e = e->next) {
            holders.emplace_back();
            const Tms* t = e->item->Inscription(holders.back());
            if (!e->item->GetPlace()->GetNewTms()) return false;
            into.push_back(Inscribed{e->item, t && t->first ? t : nullptr});
        }
        return true;
    };
    if (!read(inArcs, in) || !read(outArcs, out)) return -1;

    // The steps: what the inputs take and the outputs give, per slot and
    // per place; a colour without a slot in its place is ignored by firing.
    for (const Inscribed& a : in) {
        if (!a.tms) return 0;  // an empty input inscription is never enabled
        if (!DistinctColours(a.tms)) return -1;
        PlaceHeader* p = a.arc->GetPlace()->GetPlaceHeader();
        for (const Inscribed& b : in)
            if (&b != &a && b.arc->GetPlace()->GetPlaceHeader() == p) return -1;
        for (const ltoken* e = a.tms->first; e; e = e->next) {
            r.Of(p, e->token).step -= e->quant;
            r.Of(p, -1).step -= e->quant;
        }
    }
    for (const Inscribed& a : out) {
        if (!a.tms) continue;
        PlaceHeader* p = a.arc->GetPlace()->GetPlaceHeader();
        for (const ltoken* e = a.tms->first; e; e = e->next) {
            if (!HasSlot(p->GetNewTms(), e->token)) continue;
            r.Of(p, e->token).step += e->quant;
            r.Of(p, -1).step += e->quant;
        }
    }

    // The tests, as IsNewEnabled and the check after firing make them.
    for (const Inscribed& a : in) {
        PlaceHeader* p = a.arc->GetPlace()->GetPlaceHeader();
        r.AtLeast(r.Of(p, -1), a.tms->quant);
        for (const ltoken* e = a.tms->first; e; e = e->next) r.AtLeast(r.Of(p, e->token), e->quant);
    }
    // An unbounded place takes whatever a 16-bit total can hold: its
    // capacity tests always pass.
    for (const Inscribed& a : out) {
        Place* place = a.arc->GetPlace();
        long cap = place->GetCapacity().GetCap();
        if (cap == Capacity::kUnbounded) continue;
        Quantity& total = r.Of(place->GetPlaceHeader(), -1);
        long n = a.tms ? a.tms->quant : 0;
        if (HasIn()) {
            long taken = 0;
            for (const Inscribed& b : in)
                if (b.arc->GetPlace()->GetNo() == place->GetNo()) taken += b.tms->quant;
            if (n - taken > 0) r.AtMost(total, cap, n - taken, false);
        } else if (n != 0) {
            r.AtMost(total, cap, n, false);
        }
        r.AtMost(total, cap, 0, true);
    }
    return r.Count(most);
}
