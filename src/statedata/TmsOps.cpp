// Linked token multisets (Tms): construction, arithmetic and comparisons.
// A null Tms is the empty multiset; new elements go to the front.
#include "statedata/Multiset.h"

namespace {

ltoken* FindToken(const Tms* t, unsigned short token)
{
    for (ltoken* e = t ? t->first : nullptr; e; e = e->next)
        if (e->token == token) return e;
    return nullptr;
}

void PushFront(Tms& t, unsigned short token, unsigned short quant)
{
    t.first = new ltoken{token, quant, t.first};
    ++t.kinds;
    t.quant += quant;
}

bool Empty(const Tms* t) { return !t || !t->first; }

// Every element of a meets `holds(own quantity, quantity in b)` where b has
// its token; elements whose token b lacks pass only when `absentOk`.
template <class Holds>
bool AllElements(const Tms* a, const Tms* b, bool absentOk, Holds holds)
{
    for (const ltoken* e = a->first; e; e = e->next) {
        const ltoken* other = FindToken(b, e->token);
        if (!other) {
            if (!absentOk) return false;
        } else if (!holds(e->quant, other->quant)) {
            return false;
        }
    }
    return true;
}

}  // namespace

Tms* new_tms(unsigned short token, unsigned short quant)
{
    return new Tms{1, quant, new ltoken{token, quant, nullptr}};
}

Tms* copy_tms(const Tms* t)
{
    if (Empty(t)) return nullptr;
    Tms* copy = new Tms{t->kinds, t->quant, nullptr};
    ltoken** link = &copy->first;
    for (const ltoken* e = t->first; e; e = e->next) {
        *link = new ltoken{e->token, e->quant, nullptr};
        link = &(*link)->next;
    }
    return copy;
}

void clear_tms(Tms*& t)
{
    if (!t) return;
    while (t->first) {
        ltoken* gone = t->first;
        t->first = gone->next;
        delete gone;
    }
    delete t;
    t = nullptr;
}

void add_tr(Tms*& t, unsigned short token, unsigned short quant)
{
    if (!t) t = new Tms{0, 0, nullptr};
    PushFront(*t, token, quant);
}

void add_t(Tms*& t, const ltoken* e)
{
    if (!e) return;
    if (!t) t = new Tms{0, 0, nullptr};
    if (ltoken* same = FindToken(t, e->token)) {
        same->quant += e->quant;
        t->quant += e->quant;
    } else {
        PushFront(*t, e->token, e->quant);
    }
}

void add_tok(Tms*& t, const ltoken* e)
{
    if (!e) return;
    if (t && !t->first) t->kinds = t->quant = 0;  // a bare header starts afresh
    add_t(t, e);
}

void add_tms(Tms*& t, const Tms* other)
{
    if (Empty(t)) {
        clear_tms(t);
        t = copy_tms(other);
        return;
    }
    for (const ltoken* e = other ? other->first : nullptr; e; e = e->next) add_t(t, e);
}

void sub_t(Tms*& t, const ltoken* e)
{
    if (!t || !e) return;
    ltoken** link = &t->first;
    while (*link && (*link)->token != e->token) link = &(*link)->next;
    ltoken* hit = *link;
    if (!hit) return;
    if (hit->quant <= e->quant) {
        t->quant -= hit->quant;
        --t->kinds;
        *link = hit->next;
        delete hit;
        if (!t->first) clear_tms(t);
    } else {
        hit->quant -= e->quant;
        t->quant -= e->quant;
    }
}

void sub_tok(Tms*& t, const ltoken* e)
{
    if (e && !Empty(t)) sub_t(t, e);
}

void sub_tms(Tms*& t, const Tms* other)
{
    if (Empty(t) || Empty(other)) return;
    for (const ltoken* e = other->first; e && t; e = e->next) sub_t(t, e);
}

bool tms_eq(const Tms* a, const Tms* b)
{
    if (!a || !b) return a == b;
    if (a->kinds != b->kinds || a->quant != b->quant) return false;
    int elements = 0;
    int matches = 0;
    for (const ltoken* e = a->first; e; e = e->next) {
        ++elements;
        for (const ltoken* f = b->first; f; f = f->next)
            if (f->token == e->token && f->quant == e->quant) {
                ++matches;
                break;
            }
    }
    return matches == elements;
}

bool tms_le(const Tms* a, const Tms* b)
{
    if (!a) return true;
    if (!b) return false;
    return a->kinds <= b->kinds &&
           AllElements(a, b, false, [](unsigned short x, unsigned short y) { return x <= y; });
}

bool tms_lt(const Tms* a, const Tms* b)
{
    if (!b) return false;
    if (!a) return true;
    return a->kinds <= b->kinds &&
           AllElements(a, b, false, [](unsigned short x, unsigned short y) { return x < y; });
}

bool tms_ge(const Tms* a, const Tms* b)
{
    if (!b) return true;
    if (!a) return false;
    return a->kinds >= b->kinds &&
           AllElements(a, b, true, [](unsigned short x, unsigned short y) { return x >= y; });
}

bool tms_gt(const Tms* a, const Tms* b)
{
    if (!a) return false;
    if (!b) return true;
    return a->kinds >= b->kinds &&
           AllElements(a, b, true, [](unsigned short x, unsigned short y) { return x > y; });
}
