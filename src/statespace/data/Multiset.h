// Token multisets in their four forms, marking vectors, active transition
// arrays, the exclusive-successor accumulators and the small value lists.
// All are plain structures handled by free functions; a null pointer is the
// empty multiset, a null ata stands for an array of zeros.
#pragma once

#include "statespace/data/DelayVal.h"

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
};

struct MTmsEntry {
    short index;  // slot index into the place's PTms
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

// Accumulator of successors reached by exclusive transitions; equal ata merge.
struct exc_mark : DelayVal {
    short* ata;
    unsigned short used;
    exc_mark* next;
};

// Activation branches of one exclusive firing; the first element's `more`
// heads the chain of further elements linked by `next` (no merging).
struct exc_marks : DelayVal {
    short* ata;
    unsigned short used;
    exc_marks* more;
    exc_marks* next;
};

// --- Construction, release, copy -------------------------------------------
Tms* new_tms(unsigned short token, unsigned short quant);
Tms* copy_tms(const Tms* t);
void clear_tms(Tms*& t);
void clear_ptms(PTms*& p);
PTms* copy_ptms(const PTms* p);
void initptms(PTms* p);
void initptmsII(PTms* a, PTms* b);
void initptmsWtms(PTms* p, const Tms* t);
void initptmsWptms(PTms* dst, const PTms* src);
void initptmsWmtms(PTms* p, const MTms& m);
void initptmsWmtmsII(PTms* a, PTms* b, const MTms& m);
void sort_ptms(PTms* p);
void clear_mtms(MTms& m);
MTms* copy_mtms(const MTms* m);
void initpms(Pms& p);
void clear_pms(Pms& p);
void copy_pms(const Pms& src, Pms& dst);
void copy_c_pms(const Pms& src, Pms& dst);

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
