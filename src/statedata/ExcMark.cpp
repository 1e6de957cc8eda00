// The accumulators of exclusive firings. exc_mark merges successors with
// equal ata (the head keeps a hash index once the list is long, so adding
// stays cheap on wide activations); exc_marks chains activation branches
// without merging.
#include "statedata/Multiset.h"
#include "statedata/NetCounts.h"

#include <unordered_map>

struct ExcMarkIndex {
    std::unordered_multimap<unsigned, exc_mark*> byAta;
};

namespace {

// Lists shorter than this are searched element by element.
constexpr unsigned kIndexThreshold = 16;

unsigned AtaHash(const short* ata)
{
    if (!ata) return 0x9e3779b9u;  // null differs from an all-zero array
    unsigned h = 2166136261u;
    for (int i = 0; i < no_of_exc_transitions; ++i)
        h = (h ^ static_cast<unsigned short>(ata[i])) * 16777619u;
    return h;
}

exc_mark* FindEqualAta(exc_mark& head, const short* ata)
{
    if (head.index) {
        auto range = head.index->byAta.equal_range(AtaHash(ata));
        for (auto it = range.first; it != range.second; ++it)
            if (ata_eq(it->second->ata, ata)) return it->second;
        return nullptr;
    }
    for (exc_mark* e = &head; e; e = e->next)
        if (ata_eq(e->ata, ata)) return e;
    return nullptr;
}

void BuildIndex(exc_mark& head)
{
    head.index = new ExcMarkIndex;
    for (exc_mark* e = &head; e; e = e->next) head.index->byAta.emplace(AtaHash(e->ata), e);
}

void Fill(exc_mark& e, const DelayVal& dv, const short* ata)
{
    static_cast<DelayVal&>(e) = dv;
    e.ata = make_ata(ata);
    e.used = 1;
}

}  // namespace

// An unused head: its value is set when its first element comes.
void init_em(exc_mark& em)
{
    em = exc_mark();
}

void add_em(exc_mark& em, const DelayVal& dv, const short* ata)
{
    if (!em.used) {
        Fill(em, dv, ata);
        em.last = &em;
        em.length = 1;
        return;
    }
    if (exc_mark* same = FindEqualAta(em, ata)) {
        same->SetDelayVal(same->GetDelayVal() + dv.GetDelayVal());
        return;
    }
    if (!em.last)
        for (em.last = &em; em.last->next; em.last = em.last->next) ++em.length;
    exc_mark* e = new exc_mark;
    Fill(*e, dv, ata);
    em.last->next = e;
    em.last = e;
    ++em.length;
    if (em.index)
        em.index->byAta.emplace(AtaHash(e->ata), e);
    else if (em.length >= kIndexThreshold)
        BuildIndex(em);
}

void clear_em(exc_mark& em)
{
    while (em.next) {
        exc_mark* gone = em.next;
        em.next = gone->next;
        clear_ata(gone->ata);
        delete gone;
    }
    clear_ata(em.ata);
    delete em.index;
    init_em(em);
}

void init_ems(exc_marks& ems)
{
    ems = exc_marks();
}

void add_ems(exc_marks& ems, const DelayVal& dv, short*& ata)
{
    exc_marks* target = &ems;
    if (ems.used) {
        target = new exc_marks;
        if (!ems.more) {
            ems.more = target;
        } else {
            if (!ems.last)
                for (ems.last = ems.more; ems.last->next; ems.last = ems.last->next) {}
            ems.last->next = target;
        }
        ems.last = target;
    }
    static_cast<DelayVal&>(*target) = dv;
    target->ata = ata;
    target->used = 1;
    ata = nullptr;  // taken over
}

void clear_ems(exc_marks& ems)
{
    while (ems.more) {
        exc_marks* gone = ems.more;
        ems.more = gone->next;
        clear_ems(*gone);  // its own branches
        delete gone;
    }
    clear_ata(ems.ata);
    init_ems(ems);
}
