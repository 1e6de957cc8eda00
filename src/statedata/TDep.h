// TDep: the dependencies of one transition in the form used while the graph
// is generated: three arrays of class indices (exclusive, immediate,
// infinite-server) taken from a TDepLst in its order.
#pragma once

class TDepLst;

class TDep {
public:
    explicit TDep(const TDepLst& l);
    TDep(const TDep&) = delete;
    TDep& operator=(const TDep&) = delete;
    ~TDep();

    void Print() const;

    unsigned short exc_no = 0;
    unsigned short imm_no = 0;
    unsigned short inf_no = 0;
    unsigned short* exc = nullptr;
    unsigned short* imm = nullptr;
    unsigned short* inf = nullptr;
};

// One dependency record per transition, indexed by transition number - 1.
extern TDep** RefTDep;
