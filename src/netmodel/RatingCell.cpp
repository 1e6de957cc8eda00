// Rating cells: argument acceptance by measure type and the per-marking
// number of a measure.
#include "netmodel/RatingCell.h"

#include <memory>

#include "netmodel/ConstVal.h"
#include "netmodel/FloatVal.h"

namespace {

bool IsCondition(int r) { return r == Boolean || r == Number; }
bool IsQuantity(int r) { return r == PlaceNumber || r == Number; }

}  // namespace

bool RatingCell::Accepts(RatingType t, int argument, int r)
{
    switch (t) {
    case Probability:
        return argument == 1 && IsCondition(r);
    case Expectation:
        return argument == 1 && IsQuantity(r);
    case BayesProbability:
        return IsCondition(r);
    case BayesExpectation:
        return argument == 1 ? IsQuantity(r) : IsCondition(r);
    case Throughput:  // a transition name, then its number
        return argument == 1 ? r == Text : r == Number;
    default:
        return false;
    }
}

Cell* RatingCell::Accepted(RatingType t, int argument, const Cell* c)
{
    return c && Accepts(t, argument, c->GetResultType()) ? c->Copy() : nullptr;
}

Cell* RatingCell::Adopted(RatingType t, int argument, Cell* c)
{
    if (c && Accepts(t, argument, FreshResultType(c))) return c;
    delete c;
    return nullptr;
}

// Replaces both arguments (the old ones are released).
void RatingCell::SetArguments(Cell* c1, Cell* c2)
{
    Clear();
    cell1 = c1;
    cell2 = c2;
    depth = DepthAbove(cell1, cell2);
}

RatingCell::RatingCell(RatingType t, const Cell* c1, const Cell* c2) : type(t)
{
    Cell* first = Accepted(t, 1, c1);
    SetArguments(first, Accepted(t, 2, c2));
}

RatingCell::RatingCell(RatingType t, Cell* c1, Cell* c2, AdoptOperands) : type(t)
{
    Cell* first = Adopted(t, 1, c1);
    SetArguments(first, Adopted(t, 2, c2));
}

RatingCell::RatingCell(RatingType t, const Str& transitionName) : type(t)
{
    SetArguments(new ConstVal(transitionName), nullptr);
}

RatingCell::RatingCell(RatingType t, int n) : type(t) { SetArguments(new ConstVal(n), nullptr); }

RatingCell::RatingCell(RatingType t, int n1, int n2) : type(t)
{
    SetArguments(new ConstVal(n1), new ConstVal(n2));
}

RatingCell::RatingCell(RatingType t, int n1, const Cell* c2) : type(t)
{
    SetArguments(new ConstVal(n1), Accepted(t, 2, c2));
}

RatingCell::RatingCell(RatingType t, const Cell* c1, int n2) : type(t)
{
    SetArguments(Accepted(t, 1, c1), new ConstVal(n2));
}

RatingCell::RatingCell(const Cell* c)
{
    if (!c || c->GetCellType() != RatingCellCell) return;
    type = static_cast<RatingType>(c->GetRatingType());
    Cell* first = Accepted(type, 1, c->GetConstCell1());
    SetArguments(first, Accepted(type, 2, c->GetConstCell2()));
}

RatingCell& RatingCell::operator=(const RatingCell& o)
{
    static_cast<Cell&>(*this) = o;
    return *this;
}

Cell& RatingCell::operator=(const Cell& c)
{
    if (&c == this || c.GetCellType() != RatingCellCell) return *this;
    auto t = static_cast<RatingType>(c.GetRatingType());
    Cell* c1 = Accepted(t, 1, c.GetConstCell1());
    Cell* c2 = Accepted(t, 2, c.GetConstCell2());
    SetArguments(c1, c2);
    type = t;
    return *this;
}

void RatingCell::Clear()
{
    delete cell1;
    delete cell2;
    cell1 = nullptr;
    cell2 = nullptr;
    depth = 1;
}

void RatingCell::SetCell2(int n)
{
    delete cell2;
    cell2 = new ConstVal(n);
    depth = DepthAbove(cell1, cell2);
}

double RatingCell::ArgumentValue(const Cell* c, bool onNew)
{
    if (!c) return 0.0;
    std::unique_ptr<CellVal> v(onNew ? c->NewCalculate() : c->Calculate());
    return v->GetFloat();
}

double RatingCell::Value(bool onNew) const
{
    switch (type) {
    case Probability:
    case Expectation:
        return ArgumentValue(cell1, onNew);
    case BayesProbability:
        // 0: the condition does not hold; 1: only the condition holds;
        // 2: both hold.
        if (ArgumentValue(cell2, onNew) == 0.0) return 0.0;
        return ArgumentValue(cell1, onNew) == 0.0 ? 1.0 : 2.0;
    case Throughput:
        return ArgumentValue(cell2, onNew);
    default:
        return 0.0;
    }
}

CellVal* RatingCell::Calculate() const { return new FloatVal(Value(false)); }

CellVal* RatingCell::NewCalculate() const { return new FloatVal(Value(true)); }

double RatingCell::CalculateCell1() const
{
    return type == BayesExpectation ? ArgumentValue(cell1, false) : 0.0;
}

double RatingCell::CalculateCell2() const
{
    return type == BayesExpectation ? ArgumentValue(cell2, false) : 0.0;
}

bool RatingCell::IsPlaceDependent() const
{
    return (cell1 && cell1->IsPlaceDependent()) || (cell2 && cell2->IsPlaceDependent());
}

bool RatingCell::operator==(const Cell& c) const
{
    if (c.GetCellType() != RatingCellCell || c.GetRatingType() != type) return false;
    const Cell* other = c.GetConstCell1();
    if (!cell1 || !other) return cell1 == other;
    return *cell1 == *other;
}
