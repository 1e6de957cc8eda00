// Capacity: the bound of a place, an expression that is folded to a constant
// once after the class check unless it reads a marking.
#pragma once

#include "netmodel/Cell.h"

// How a capacity was declared: by a boolean or a numeric expression, or not
// at all (the default).
enum KindOfCap : int { BoolCap = 0, NumCap = 1, DefaultCap = 2 };

class Capacity {
public:
    static constexpr int kNotFolded = -1;
    static constexpr int kUnbounded = 2147483647;

    Capacity() = default;
    Capacity(KindOfCap k, const Cell* c) : kind(k), cell(c ? c->Copy() : nullptr) {}
    Capacity(const Capacity& o);
    Capacity& operator=(const Capacity& o);
    ~Capacity() { Clear(); }

    void Clear();
    KindOfCap GetKind() const { return kind; }
    Cell* GetCell() const { return cell; }
    bool IsPlaceDependent() const { return cell && cell->IsPlaceDependent(); }
    void EvalCap();
    // The folded capacity, or the expression evaluated on the actual contents.
    int GetCap() const { return cap != kNotFolded ? cap : Evaluate(); }

    bool operator==(const Capacity& o) const;
    bool operator!=(const Capacity& o) const { return !(*this == o); }

private:
    int Evaluate() const;

    KindOfCap kind = DefaultCap;
    Cell* cell = nullptr;
    int cap = kNotFolded;
};
