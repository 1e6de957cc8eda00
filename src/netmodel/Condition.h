// Condition: a guard of a transition or binding. Conditions that do not read
// a marking are folded to constant truth once; the others are evaluated on
// the actual or the new contents at every query, through a flattened numeric
// program where the guard is purely numeric.
#pragma once

#include "netmodel/Cell.h"
#include "netmodel/NumericGuard.h"

class Condition {
public:
    static constexpr short kNotConstant = -1;

    Condition() = default;
    explicit Condition(bool b) : state(b ? 1 : 0) {}
    explicit Condition(const Cell* c) : cell(c ? c->Copy() : nullptr) {}
    Condition(const Condition& o) : cell(o.cell ? o.cell->Copy() : nullptr), state(o.state)
    {
        if (o.numeric.IsCompiled()) numeric.Compile(cell);
    }
    Condition& operator=(const Condition& o);
    ~Condition() { Clear(); }

    void Clear();
    Cell* GetCell() const { return cell; }
    void EvalCond();
    bool ActCondTrue() const { return state != kNotConstant ? state == 1 : Holds(false); }
    bool NewCondTrue() const { return state != kNotConstant ? state == 1 : Holds(true); }
    // Folded: the condition reads no marking.
    bool IsConstant() const { return state != kNotConstant; }
    // The flattened program of a purely numeric guard; null when the
    // condition is constant or is evaluated on its tree.
    const NumericGuard* Numeric() const { return numeric.IsCompiled() ? &numeric : nullptr; }

    bool operator==(const Condition& o) const;
    bool operator!=(const Condition& o) const { return !(*this == o); }

private:
    bool Holds(bool onNew) const;

    Cell* cell = nullptr;
    short state = kNotConstant;
    // Flattened by EvalCond, once the class check has bound the places.
    NumericGuard numeric;
};
