// Token multisets in their four forms, marking vectors, active transition
// arrays, the exclusive-successor accumulators and the small value lists.
// All are plain structures handled by free functions; a null pointer is the
// empty multiset, a null ata stands for an array of zeros.
#pragma once

#include "statedata/DelayVal.h"

#include <algorithm>
#include <utility>

// One (token, quantity) element of a linked multiset.
struct ltoken {
    unsigned short token;
    unsigned short quant;
    ltoken* next;
};

// Linked multiset: the form of expression values, arc inscriptions and
// declared initial markings. New elements go to the front.
struct Tms {
    unsigned short kinds;
    unsigned short quant;
    ltoken* first;
};

struct PTmsSlot {
    unsigned short token;
    unsigned short quant;
};

// Dense per-place multiset: one slot per colour the place may hold, sorted by
// token number once built; afterwards only quantities change.
struct PTms {
    short size;
    unsigned short quant;
    unsigned short kinds;
    PTmsSlot* entries;
    // Set by sort_ptms (and kept by the copies) when the slots are known to be
    // strictly ascending: slot lookups may then search by halving.
    bool sorted = false;
};

struct MTmsEntry {
    short index;           // slot index into the place's PTms
    unsigned short quant;  // never 0
};

// Sparse per-place multiset inside a marking: the non-empty slots only.
struct MTms {
    short place;
    short kinds;
    unsigned short quant;
    MTmsEntry* entries;
};

// Marking vector: one MTms per non-empty place, ascending place number.
struct Pms {
    short size;
    MTms* places;
};

// Linked value lists of distinct values.
struct short_list {
    short value;
    short_list* next;
};
struct int_list {
    int value;
    int_list* next;
};

struct ExcMarkIndex;

// Accumulator of successors reached by exclusive transitions; equal ata merge.
// The head also keeps the tail and, once the list grows long, a hash index
// over the ata, so that adding stays constant-time on wide activations.
struct exc_mark : DelayVal {
    short* ata = nullptr;
    unsigned short used = 0;
    exc_mark* next = nullptr;
    exc_mark* last = nullptr;       // head only: the tail element
    ExcMarkIndex* index = nullptr;  // head only: ata -> element, built lazily
    unsigned length = 0;            // head only: number of elements
};

// Activation branches of one exclusive firing; the first element's `more`
// heads the chain of further elements linked by `next` (no merging).
struct exc_marks : DelayVal {
    short* ata = nullptr;
    unsigned short used = 0;
    exc_marks* more = nullptr;
    exc_marks* next = nullptr;
    exc_marks* last = nullptr;  // head only: the tail of the `more` chain
};

// --- Construction, release, copy -------------------------------------------
Tms* new_tms(unsigned short token, unsigned short quant);
Tms* copy_tms(const Tms* t);
void clear_tms(Tms*& t);
void clear_ptms(PTms*& p);
PTms* copy_ptms(const PTms* p);
inline void initptms(PTms* p);
inline void initptmsII(PTms* a, PTms* b);
void initptmsWtms(PTms* p, const Tms* t);
inline void initptmsWptms(PTms* dst, const PTms* src);
inline void initptmsWmtms(PTms* p, const MTms& m);
inline void initptmsWmtmsII(PTms* a, PTms* b, const MTms& m);
void sort_ptms(PTms* p);
// For a stand-alone MTms only (from ptms2mtms or copy_mtms); the MTms of a
// Pms live inside the vector's block and go with clear_pms.
void clear_mtms(MTms& m);
MTms* copy_mtms(const MTms* m);
void initpms(Pms& p);
void clear_pms(Pms& p);
// The copies overwrite dst without releasing it: clear it first if it holds data.
void copy_pms(const Pms& src, Pms& dst);
void copy_c_pms(const Pms& src, Pms& dst);

// --- One-block marking vectors ----------------------------------------------
// A Pms is ONE allocation: its MTms array followed by the entries of all its
// MTms, which point into the same block. Every function that makes a Pms
// (copy_pms, copy_c_pms, fill_pms) builds it that way and clear_pms frees the
// block. Build vectors from place contents with fill_pms, never by hanging
// separately allocated MTms into a Pms.

// Number of non-zero slots of a dense multiset (0 for null).
inline int ptms_used_slots(const PTms* p);
// Makes dst (overwritten, not released) an uninitialised vector of `places`
// MTms with room for `entries` entries; returns the first entry slot.
MTmsEntry* alloc_pms(Pms& dst, int places, int entries);
// Fills m from p as ptms2mtms does, with its entries written at `room`;
// returns the slot after the last entry written.
inline MTmsEntry* ptms2mtms_at(const PTms* p, int place, MTms& m, MTmsEntry* room);

// Makes dst (overwritten, not released) the vector of `count` places, where
// placeAt(i) returns {place number, const PTms* contents} for the i-th place
// in ascending place number. Places without tokens get no entry.
template <class PlaceAt>
void fill_pms(Pms& dst, int count, PlaceAt placeAt)
{
    int places = 0;
    int entries = 0;
    for (int i = 0; i < count; ++i) {
        const PTms* p = placeAt(i).second;
        if (p && p->quant != 0) {
            ++places;
            entries += ptms_used_slots(p);
        }
    }
    MTmsEntry* room = alloc_pms(dst, places, entries);
    int k = 0;
    for (int i = 0; i < count; ++i) {
        std::pair<int, const PTms*> place = placeAt(i);
        if (place.second && place.second->quant != 0)
            room = ptms2mtms_at(place.second, place.first, dst.places[k++], room);
    }
}

// --- Conversions -------------------------------------------------------------
Tms* ptms2tms(const PTms* p);
PTms* tms2ptms(const Tms* t);
void ptms2mtms(const PTms* p, int place, MTms& m);

// --- Arithmetic --------------------------------------------------------------
void plus_tms(PTms* p, const Tms* t);
void minus_tms(PTms* p, const Tms* t);
void add_tr(Tms*& t, unsigned short token, unsigned short quant);
void add_t(Tms*& t, const ltoken* e);
void add_tok(Tms*& t, const ltoken* e);
void add_tms(Tms*& t, const Tms* other);
void sub_t(Tms*& t, const ltoken* e);
void sub_tok(Tms*& t, const ltoken* e);
void sub_tms(Tms*& t, const Tms* other);
unsigned short no_of_ptref(const PTms* p, unsigned short token);

// --- Comparison (truth values, or -1/0/+1 for comp_*) -----------------------
bool tms_eq(const Tms* a, const Tms* b);
bool tms_le(const Tms* a, const Tms* b);
bool tms_lt(const Tms* a, const Tms* b);
bool tms_ge(const Tms* a, const Tms* b);
bool tms_gt(const Tms* a, const Tms* b);
bool ptms_eq(const PTms* a, const PTms* b);
bool ptms_lt(const PTms* a, const PTms* b);
bool ptms_gt(const PTms* a, const PTms* b);
bool ptms_ge(const PTms* a, const PTms* b);
bool ptms_le(const PTms* a, const PTms* b);
int comp_ptms(const PTms* a, const PTms* b);
bool mtms_eq(const MTms& a, const MTms& b);
bool pms_eq(const Pms& a, const Pms& b);
int comp_mtms(const MTms& a, const MTms& b);
int comp_pms(const Pms& a, const Pms& b);
unsigned create_key(const Pms& p);

// --- Active transition arrays (length: no_of_exc_transitions) ---------------
short* make_ata(const short* ata);
short* make_new_ata(const short* ata, short i, short v);
bool ata_eq(const short* a, const short* b);
void clear_ata(short*& ata);

// --- Accumulators ----------------------------------------------------------
void init_em(exc_mark& em);
void add_em(exc_mark& em, const DelayVal& dv, const short* ata);
void clear_em(exc_mark& em);
void init_ems(exc_marks& ems);
void add_ems(exc_marks& ems, const DelayVal& dv, short*& ata);  // takes over ata
void clear_ems(exc_marks& ems);

// --- Value lists -----------------------------------------------------------
void add_short(short_list*& l, short v);
void add_int(int_list*& l, int v);
void clear_short(short_list*& l);
void clear_lst(int_list*& l);

// --- Loading and reading place contents ---------------------------------------
// Inline: they run for every place of every marking loaded into the places or
// built from them, where a call costs more than the work.

inline void initptms(PTms* p)
{
    if (!p) return;
    p->quant = p->kinds = 0;
    for (int i = 0; i < p->size; ++i) p->entries[i].quant = 0;
}

inline void initptmsII(PTms* a, PTms* b)
{
    initptms(a);
    initptms(b);
}

inline void initptmsWptms(PTms* dst, const PTms* src)
{
    if (!dst || !src) return;
    dst->kinds = src->kinds;
    dst->quant = src->quant;
    int n = std::min(dst->size, src->size);
    for (int i = 0; i < n; ++i) dst->entries[i].quant = src->entries[i].quant;
}

inline void initptmsWmtms(PTms* p, const MTms& m)
{
    initptms(p);
    if (!p) return;
    p->kinds = static_cast<unsigned short>(m.kinds);
    p->quant = m.quant;
    for (int k = 0; k < m.kinds; ++k) {
        const MTmsEntry& e = m.entries[k];
        if (e.index >= 0 && e.index < p->size) p->entries[e.index].quant = e.quant;
    }
}

inline void initptmsWmtmsII(PTms* a, PTms* b, const MTms& m)
{
    initptmsWmtms(a, m);
    initptmsWmtms(b, m);
}

inline int ptms_used_slots(const PTms* p)
{
    if (!p || !p->entries) return 0;
    int n = 0;
    for (int i = 0; i < p->size; ++i)
        if (p->entries[i].quant != 0) ++n;
    return n;
}

inline MTmsEntry* ptms2mtms_at(const PTms* p, int place, MTms& m, MTmsEntry* room)
{
    m.place = static_cast<short>(place);
    m.quant = p ? p->quant : 0;
    m.entries = room;
    short n = 0;
    for (int i = 0; p && p->entries && i < p->size; ++i)
        if (p->entries[i].quant != 0) room[n++] = {static_cast<short>(i), p->entries[i].quant};
    m.kinds = n;
    return room + n;
}
