// Capacities: copying, folding and evaluation.
#include "netmodel/Capacity.h"

#include <climits>
#include <cmath>
#include <memory>

namespace {

// Truncation toward zero, kept inside the range of int.
int TruncatedCapacity(double x)
{
    if (std::isnan(x)) return 0;
    if (x >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (x <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(x);
}

}  // namespace

Capacity::Capacity(const Capacity& o)
    : kind(o.kind), cell(o.cell ? o.cell->Copy() : nullptr), cap(o.cap)
{
}

Capacity& Capacity::operator=(const Capacity& o)
{
    if (this == &o) return *this;
    Cell* copy = o.cell ? o.cell->Copy() : nullptr;
    Clear();
    kind = o.kind;
    cell = copy;
    cap = o.cap;
    return *this;
}

void Capacity::Clear()
{
    delete cell;
    cell = nullptr;
}

int Capacity::Evaluate() const
{
    if (!cell) return kUnbounded;
    return TruncatedCapacity(std::unique_ptr<CellVal>(cell->Calculate())->GetFloat());
}

void Capacity::EvalCap()
{
    if (!cell)
        cap = kUnbounded;
    else if (!cell->IsPlaceDependent())
        cap = Evaluate();
}

bool Capacity::operator==(const Capacity& o) const
{
    if (kind != o.kind || cap != o.cap) return false;
    if (!cell || !o.cell) return cell == o.cell;
    return *cell == *o.cell;
}
