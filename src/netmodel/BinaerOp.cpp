// Binary operator cells: evaluation through the value operators, plain
// numeric evaluation, and the result-type rules.
#include "netmodel/BinaerOp.h"

#include <memory>

namespace {

Cell* CopyOrDefault(const Cell* c) { return c ? c->Copy() : new ConstVal(); }

bool IsComparisonOrLogic(Operator op)
{
    switch (op) {
    case LessOp:
    case EqualOp:
    case GreaterOp:
    case GreaterEqualOp:
    case LessEqualOp:
    case NotEqualOp:
    case AndOp:
    case OrOp:
        return true;
    default:
        return false;
    }
}

// Only a multiset operand decides against the default of a numeric left side.
int NumberWith(int right, int otherwise)
{
    if (right == ElementaryMultiset || right == ProductMultiset || right == PlaceMultiset)
        return right;
    return otherwise;
}

}  // namespace

BinaerOp::BinaerOp() : left(new ConstVal()), right(new ConstVal()) {}

BinaerOp::BinaerOp(Operator o, const Cell* l, const Cell* r)
    : op(o), left(CopyOrDefault(l)), right(CopyOrDefault(r))
{
    const char* function = "BinaerOp::BinaerOp(Operator,Cell*,Cell*)";
    if (left->GetResultType() == Text) CellError(276, function, "can't calculate textual cells");
    if (right->GetResultType() == Text) CellError(279, function, "can't calculate textual cells");
}

BinaerOp::BinaerOp(Operator o, const CellVal* l, const CellVal* r)
    : op(o), left(new ConstVal(l)), right(new ConstVal(r))
{
    const char* function = "BinaerOp::BinaerOp(Operator,CellVal*,CellVal*)";
    if (left->GetResultType() == Text) CellError(289, function, "can't calculate textual cells");
    if (right->GetResultType() == Text) CellError(292, function, "can't calculate textual cells");
}

BinaerOp::BinaerOp(Operator o, const Tms* l, const Tms* r)
    : op(o), left(new ConstVal(l)), right(new ConstVal(r))
{
}

BinaerOp::BinaerOp(const Cell* c)
{
    if (c && c->GetCellType() == BinaerOpCell) {
        op = c->GetConstOp();
        left = c->GetConstLeftOpd()->Copy();
        right = c->GetConstRightOpd()->Copy();
    } else {
        left = new ConstVal();
        right = new ConstVal();
    }
}

BinaerOp::~BinaerOp()
{
    delete left;
    delete right;
}

BinaerOp& BinaerOp::operator=(const BinaerOp& o)
{
    static_cast<Cell&>(*this) = o;
    return *this;
}

Cell& BinaerOp::operator=(const Cell& c)
{
    if (&c == this || c.GetCellType() != BinaerOpCell) return *this;
    Cell* l = c.GetConstLeftOpd()->Copy();
    Cell* r = c.GetConstRightOpd()->Copy();
    delete left;
    delete right;
    left = l;
    right = r;
    op = c.GetConstOp();
    return *this;
}

void BinaerOp::Clear()
{
    // The operands stay valid cells, as in a default-constructed operator.
    delete left;
    delete right;
    left = new ConstVal();
    right = new ConstVal();
}

CellVal* BinaerOp::Apply(CellVal* l, CellVal* r, int line, const char* function) const
{
    std::unique_ptr<CellVal> a(l);
    std::unique_ptr<CellVal> b(r);
    switch (op) {
    case AndOp:
        return *a && *b;
    case TimesOp:
        return *a * *b;
    case PlusOp:
        return *a + *b;
    case MinusOp:
        return *a - *b;
    case DivideOp:
        return *a / *b;
    case LessOp:
        return *a < *b;
    case EqualOp:
        return *a == *b;
    case GreaterOp:
        return *a > *b;
    case GreaterEqualOp:
        return *a >= *b;
    case LessEqualOp:
        return *a <= *b;
    case NotEqualOp:
        return *a != *b;
    case OrOp:
        return *a || *b;
    default:
        CellError(line, function, "unknown operator");
    }
}

CellVal* BinaerOp::Calculate() const
{
    CellVal* l = left->Calculate();
    return Apply(l, right->Calculate(), 464, "BinaerOp::Calculate()");
}

CellVal* BinaerOp::NewCalculate() const
{
    CellVal* l = left->NewCalculate();
    return Apply(l, right->NewCalculate(), 435, "BinaerOp::NewCalculate()");
}

double BinaerOp::CalculateFloat() const
{
    double a = std::unique_ptr<CellVal>(left->Calculate())->GetFloat();
    double b = std::unique_ptr<CellVal>(right->Calculate())->GetFloat();
    if (b == 0.0 && op == DivideOp)
        CellError(393, "BinaerOp::CalculateFloat()", "division by zero");
    switch (op) {
    case AndOp:
        return a != 0.0 && b != 0.0 ? 1.0 : 0.0;
    case OrOp:
        return a != 0.0 || b != 0.0 ? 1.0 : 0.0;
    case TimesOp:
        return a * b;
    case PlusOp:
        return a + b;
    case MinusOp:
        return a - b;
    case DivideOp:
        return a / b;
    case LessOp:
        return a < b ? 1.0 : 0.0;
    case EqualOp:
        return a == b ? 1.0 : 0.0;
    case GreaterOp:
        return a > b ? 1.0 : 0.0;
    case GreaterEqualOp:
        return a >= b ? 1.0 : 0.0;
    case LessEqualOp:
        return a <= b ? 1.0 : 0.0;
    case NotEqualOp:
        return a != b ? 1.0 : 0.0;
    default:
        CellError(409, "BinaerOp::CalculateFloat()", "unknown operator");
    }
}

int BinaerOp::GetResultType() const
{
    if (IsComparisonOrLogic(op)) return Boolean;
    int l = left->GetResultType();
    int r = right->GetResultType();
    if (l == Boolean || r == Boolean) return Boolean;
    switch (l) {
    case PlaceMultiset:
        return r == ElementaryMultiset || r == ProductMultiset ? r : PlaceMultiset;
    case PlaceNumber:
        return NumberWith(r, PlaceNumber);
    case ElementaryMultiset:
        if (r == ProductMultiset)
            CellError(343, "BinaerOp::GetResultType()", "e_mset_expr op p_mset_expr");
        return ElementaryMultiset;
    case ProductMultiset:
        if (r == ElementaryMultiset)
            CellError(348, "BinaerOp::GetResultType()", "p_mset_expr op e_mset_expr");
        return ProductMultiset;
    case Number:
        return NumberWith(r, Number);
    default:
        CellError(375, "BinaerOp:GetResultType()", "unexpected result type");
    }
}

bool BinaerOp::operator==(const Cell& c) const
{
    return c.GetCellType() == BinaerOpCell && c.GetConstOp() == op &&
           *left == *c.GetConstLeftOpd() && *right == *c.GetConstRightOpd();
}
