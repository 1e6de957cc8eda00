// Conditions: copying, folding and evaluation.
#include "netmodel/Condition.h"

#include <memory>

Condition& Condition::operator=(const Condition& o)
{
    if (this == &o) return *this;
    Cell* copy = o.cell ? o.cell->Copy() : nullptr;
    Clear();
    cell = copy;
    state = o.state;
    if (o.numeric.IsCompiled()) numeric.Compile(cell);
    return *this;
}

void Condition::Clear()
{
    delete cell;
    cell = nullptr;
    numeric.Compile(nullptr);
}

bool Condition::Holds(bool onNew) const
{
    // A condition without expression that was never folded holds nothing.
    if (!cell) return false;
    if (numeric.IsCompiled()) return numeric.Evaluate(onNew) != 0.0;
    std::unique_ptr<CellVal> v(onNew ? cell->NewCalculate() : cell->Calculate());
    return v->GetFloat() != 0.0;
}

void Condition::EvalCond()
{
    if (state != kNotConstant) return;
    if (!cell)
        state = 0;
    else if (!cell->IsPlaceDependent())
        state = Holds(false) ? 1 : 0;
    else
        numeric.Compile(cell);
}

bool Condition::operator==(const Condition& o) const
{
    if (!cell && !o.cell) return state == o.state;
    if (!cell || !o.cell) return false;
    return *cell == *o.cell;
}
