// TDepLst: while the net is checked, the class indices of the transitions
// whose enabling the firing of one transition may change, one list per
// transition class, without repetition, in the order they were found.
#pragma once

#include <vector>

#include "statedata/Multiset.h"

class TDepLst {
public:
    TDepLst() = default;
    TDepLst(const TDepLst&) = delete;
    TDepLst& operator=(const TDepLst&) = delete;
    ~TDepLst() { Clear(); }

    void AddExc(short i) { Add(exc, exc_no, excMembers, i); }
    void AddImm(short i) { Add(imm, imm_no, immMembers, i); }
    void AddInf(short i) { Add(inf, inf_no, infMembers, i); }
    void Clear();
    void Print() const;

    unsigned short exc_no = 0;
    unsigned short imm_no = 0;
    unsigned short inf_no = 0;
    short_list* exc = nullptr;
    short_list* imm = nullptr;
    short_list* inf = nullptr;

private:
    // What a list holds and where it ends, so that adding takes constant
    // time: when many transitions share a place, each depends on all.
    struct Members {
        std::vector<bool> present;
        short_list* last = nullptr;
    };

    static void Add(short_list*& list, unsigned short& count, Members& members, short i);

    Members excMembers;
    Members immMembers;
    Members infMembers;
};
