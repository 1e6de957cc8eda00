// Dense per-place multisets (PTms): one slot per colour the place may hold.
// Slot lookups by token halve the range when the slots are known to be
// ascending and scan them otherwise; the first slot with the token counts.
#include "statedata/Multiset.h"

#include <algorithm>
#include <vector>

namespace {

PTmsSlot* FindSlot(const PTms* p, unsigned short token)
{
    if (!p || !p->entries || p->size <= 0) return nullptr;
    PTmsSlot* begin = p->entries;
    // Most places hold tokens of one colour: their one slot is looked at
    // without a search.
    if (p->size == 1) return begin->token == token ? begin : nullptr;
    PTmsSlot* end = begin + p->size;
    if (p->sorted) {
        PTmsSlot* hit = std::lower_bound(
            begin, end, token, [](const PTmsSlot& s, unsigned short t) { return s.token < t; });
        return hit != end && hit->token == token ? hit : nullptr;
    }
    for (PTmsSlot* s = begin; s != end; ++s)
        if (s->token == token) return s;
    return nullptr;
}

bool StrictlyAscending(const PTmsSlot* s, int n)
{
    for (int i = 1; i < n; ++i)
        if (s[i - 1].token >= s[i].token) return false;
    return true;
}

// The exchange sort the slot order is defined by; only used when tokens
// repeat, where its placement of equal tokens differs from other sorts.
void ExchangeSort(PTmsSlot* s, int n)
{
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            if (s[i].token < s[j].token) std::swap(s[i], s[j]);
}

bool HasRepeatedTokens(const PTmsSlot* s, int n)
{
    std::vector<unsigned short> tokens(n);
    for (int i = 0; i < n; ++i) tokens[i] = s[i].token;
    std::sort(tokens.begin(), tokens.end());
    return std::adjacent_find(tokens.begin(), tokens.end()) != tokens.end();
}

// Holds `rel` between every pair of slot quantities over a's slots; a slot
// that b lacks counts as empty.
template <class Rel>
bool AllSlots(const PTms* a, const PTms* b, Rel rel)
{
    if (!a || !a->entries) return true;
    for (int i = 0; i < a->size; ++i) {
        unsigned short other = b && b->entries && i < b->size ? b->entries[i].quant : 0;
        if (!rel(a->entries[i].quant, other)) return false;
    }
    return true;
}

}  // namespace

void clear_ptms(PTms*& p)
{
    if (!p) return;
    delete[] p->entries;
    delete p;
    p = nullptr;
}

PTms* copy_ptms(const PTms* p)
{
    if (!p || !p->entries) return nullptr;
    int n = std::max<int>(p->size, 0);
    PTms* copy = new PTms{p->size, p->quant, p->kinds, new PTmsSlot[n], p->sorted};
    std::copy_n(p->entries, n, copy->entries);
    return copy;
}

void initptmsWtms(PTms* p, const Tms* t)
{
    initptms(p);
    if (!p || !t) return;
    p->kinds = t->kinds;
    p->quant = t->quant;
    for (const ltoken* e = t->first; e; e = e->next)
        for (int i = 0; i < p->size; ++i)
            if (p->entries[i].token == e->token) p->entries[i].quant = e->quant;
}

void sort_ptms(PTms* p)
{
    if (!p || !p->entries || p->size <= 0) return;
    if (HasRepeatedTokens(p->entries, p->size)) {
        ExchangeSort(p->entries, p->size);
        p->sorted = false;
    } else {
        std::sort(p->entries, p->entries + p->size,
                  [](const PTmsSlot& x, const PTmsSlot& y) { return x.token < y.token; });
        p->sorted = true;
    }
}

Tms* ptms2tms(const PTms* p)
{
    if (!p) return nullptr;
    Tms* t = new Tms{p->kinds, p->quant, nullptr};
    for (int i = 0; i < p->size; ++i)
        if (p->entries[i].quant != 0)
            t->first = new ltoken{p->entries[i].token, p->entries[i].quant, t->first};
    return t;
}

PTms* tms2ptms(const Tms* t)
{
    if (!t) return nullptr;
    int n = 0;
    for (const ltoken* e = t->first; e; e = e->next) ++n;
    PTms* p = new PTms{static_cast<short>(n), t->quant, static_cast<unsigned short>(n),
                       n > 0 ? new PTmsSlot[n] : nullptr};
    int i = 0;
    for (const ltoken* e = t->first; e; e = e->next, ++i) p->entries[i] = {e->token, e->quant};
    p->sorted = StrictlyAscending(p->entries, n);
    return p;
}

void ptms2mtms(const PTms* p, int place, MTms& m)
{
    int n = ptms_used_slots(p);
    ptms2mtms_at(p, place, m, n > 0 ? new MTmsEntry[n] : nullptr);
}

void plus_tms(PTms* p, const Tms* t)
{
    if (!p || !t) return;
    for (const ltoken* e = t->first; e; e = e->next) {
        PTmsSlot* s = FindSlot(p, e->token);
        if (!s) continue;
        if (s->quant == 0 && e->quant != 0) ++p->kinds;
        s->quant += e->quant;
        p->quant += e->quant;
    }
}

void minus_tms(PTms* p, const Tms* t)
{
    if (!p || !t) return;
    for (const ltoken* e = t->first; e; e = e->next) {
        PTmsSlot* s = FindSlot(p, e->token);
        if (!s || s->quant == 0) continue;
        if (s->quant > e->quant) {
            s->quant -= e->quant;
            p->quant -= e->quant;
        } else {
            p->quant -= s->quant;
            s->quant = 0;
            --p->kinds;
        }
    }
}

unsigned short no_of_ptref(const PTms* p, unsigned short token)
{
    const PTmsSlot* s = FindSlot(p, token);
    return s ? s->quant : 0;
}

bool ptms_eq(const PTms* a, const PTms* b)
{
    return AllSlots(a, b, [](unsigned short x, unsigned short y) { return x == y; });
}
bool ptms_lt(const PTms* a, const PTms* b)
{
    return AllSlots(a, b, [](unsigned short x, unsigned short y) { return x < y; });
}
bool ptms_gt(const PTms* a, const PTms* b)
{
    return AllSlots(a, b, [](unsigned short x, unsigned short y) { return x > y; });
}
bool ptms_ge(const PTms* a, const PTms* b)
{
    return AllSlots(a, b, [](unsigned short x, unsigned short y) { return x >= y; });
}
bool ptms_le(const PTms* a, const PTms* b)
{
    return AllSlots(a, b, [](unsigned short x, unsigned short y) { return x <= y; });
}

int comp_ptms(const PTms* a, const PTms* b)
{
    if (!a || !b) return a == b ? 0 : (a ? 1 : -1);
    if (a->quant != b->quant) return a->quant < b->quant ? -1 : 1;
    int n = std::min(a->size, b->size);
    for (int i = 0; i < n; ++i) {
        unsigned short x = a->entries[i].quant;
        unsigned short y = b->entries[i].quant;
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}
