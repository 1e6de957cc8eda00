// NPMarking: a vanishing marking met while immediate firings are resolved:
// its vector, the probability of reaching it, the class index of the
// immediate transition that produced it, its own enabling set, and its edges
// to the markings its immediate firings lead to.
#pragma once

#include "statedata/LinkedEdge.h"
#include "statedata/Multiset.h"

class TNos;

class NPMarking {
public:
    NPMarking() = default;
    explicit NPMarking(const Pms& pms);
    NPMarking(const Pms& pms, const TNos* tnos);  // the set is copied
    explicit NPMarking(double value);
    NPMarking(const Pms& pms, double value);
    // Copies key, value, number, vector and set; the copy has no edges.
    NPMarking(const NPMarking& o);
    NPMarking& operator=(const NPMarking& o);
    ~NPMarking() { Clear(); }

    void CreateKey();  // create_key of the vector, 0 replaced by 1
    unsigned GetKey() const { return key; }
    void SetKey(unsigned k) { key = k; }
    unsigned short GetNo() const { return no; }
    void SetNo(unsigned short n) { no = n; }
    int GetSize() const { return pms.size; }
    double GetDelayVal() const { return value; }
    void SetDelayVal(double v) { value = v; }

    // Takes over t, freeing the set held before.
    void SetTNos(TNos* t);
    TNos*& GetTNos() { return tnos; }

    int Comp(const NPMarking& o) const;  // key, then vector
    bool operator==(const NPMarking& o) const;  // key and vector
    bool operator!=(const NPMarking& o) const { return !(*this == o); }

    void AddMarking(NPMarking& target, const DelayVal& d);

    void Clean();       // frees vector and set; key 1, value 0, number 0
    void Clear();       // frees the edges, then Clean
    void ClearTotal();  // also destroys the targets: temporary nodes only

    Pms& GetPms() { return pms; }
    const Pms& GetPms() const { return pms; }
    npstt* GetStt() const { return edges; }
    npstt*& GetSttList() { return edges; }

private:
    void CopyFrom(const NPMarking& o);

    unsigned key = 1;
    unsigned short no = 0;
    double value = 0.0;
    Pms pms{0, nullptr};
    TNos* tnos = nullptr;
    npstt* edges = nullptr;
};
