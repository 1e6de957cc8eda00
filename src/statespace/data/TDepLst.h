// TDepLst: while the net is checked, the class indices of the transitions
// whose enabling the firing of one transition may change, one list per
// transition class, without repetition, in the order they were found.
#pragma once

#include "statespace/data/Multiset.h"

class TDepLst {
public:
    TDepLst() = default;
    TDepLst(const TDepLst&) = delete;
    TDepLst& operator=(const TDepLst&) = delete;
    ~TDepLst() { Clear(); }

    void AddExc(short i) { Add(exc, exc_no, i); }
    void AddImm(short i) { Add(imm, imm_no, i); }
    void AddInf(short i) { Add(inf, inf_no, i); }
    void Clear();
    void Print() const;

    unsigned short exc_no = 0;
    unsigned short imm_no = 0;
    unsigned short inf_no = 0;
    short_list* exc = nullptr;
    short_list* imm = nullptr;
    short_list* inf = nullptr;

private:
    static void Add(short_list*& list, unsigned short& count, short i);
};
