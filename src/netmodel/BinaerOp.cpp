// Binary operator cells: evaluation through the value operators, plain
// numeric evaluation, and the result-type rules.
#include "netmodel/BinaerOp.h"

#include <memory>

#include "netmodel/NumberOperators.h"

namespace {

Cell* CopyOrNull(const Cell* c) { return c ? c->Copy() : nullptr; }

// Only a multiset operand decides against the default of a numeric left side.
int NumberWith(int right, int otherwise)
{
    if (right == ElementaryMultiset || right == ProductMultiset || right == PlaceMultiset)
        return right;
    return otherwise;
}

}  // namespace

BinaerOp::BinaerOp() : left(new ConstVal()), right(new ConstVal()) { depth = 2; }

BinaerOp::BinaerOp(Operator o, const Cell* l, const Cell* r)
    : BinaerOp(o, CopyOrNull(l), CopyOrNull(r), AdoptOperands{})
{
}

BinaerOp::BinaerOp(Operator o, Cell* l, Cell* r, AdoptOperands)
    : op(o), left(l ? l : new ConstVal()), right(r ? r : new ConstVal())
{
    const char* function = "BinaerOp::BinaerOp(Operator,Cell*,Cell*)";
    int leftType = FreshResultType(left);
    if (leftType == Text) CellError(276, function, "can't calculate textual cells");
    int rightType = FreshResultType(right);
    if (rightType == Text) CellError(279, function, "can't calculate textual cells");
    depth = DepthAbove(left, right);
    int type = IsComparisonOrLogic(op) ? Boolean : CombinedType(leftType, rightType);
    freshType = type >= 0 ? type : kUnknownResultType;
}

BinaerOp::BinaerOp(Operator o, const CellVal* l, const CellVal* r)
    : op(o), left(new ConstVal(l)), right(new ConstVal(r))
{
    const char* function = "BinaerOp::BinaerOp(Operator,CellVal*,CellVal*)";
    if (left->GetResultType() == Text) CellError(289, function, "can't calculate textual cells");
    if (right->GetResultType() == Text) CellError(292, function, "can't calculate textual cells");
    depth = 2;
}

BinaerOp::BinaerOp(Operator o, const Tms* l, const Tms* r)
    : op(o), left(new ConstVal(l)), right(new ConstVal(r))
{
    depth = 2;
}

BinaerOp::BinaerOp(const Cell* c) : left(nullptr), right(nullptr)
{
    if (c && c->GetCellType() == BinaerOpCell) {
        op = c->GetConstOp();
        Adopt(c->GetConstLeftOpd()->Copy(), c->GetConstRightOpd()->Copy());
    } else {
        Adopt(new ConstVal(), new ConstVal());
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

// Replaces the operands (the old ones are released) and forgets what the
// operator was built as.
void BinaerOp::Adopt(Cell* l, Cell* r)
{
    delete left;
    delete right;
    left = l;
    right = r;
    depth = DepthAbove(left, right);
    freshType = kUnknownResultType;
}

Cell& BinaerOp::operator=(const Cell& c)
{
    if (&c == this || c.GetCellType() != BinaerOpCell) return *this;
    Adopt(c.GetConstLeftOpd()->Copy(), c.GetConstRightOpd()->Copy());
    op = c.GetConstOp();
    return *this;
}

void BinaerOp::Clear()
{
    // The operands stay valid cells, as in a default-constructed operator.
    Adopt(new ConstVal(), new ConstVal());
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
    if (!IsNumberOperator(op)) CellError(409, "BinaerOp::CalculateFloat()", "unknown operator");
    return ApplyNumberOperator(op, a, b);
}

int BinaerOp::CombinedType(int l, int r)
{
    if (l == Boolean || r == Boolean) return Boolean;
    switch (l) {
    case PlaceMultiset:
        return r == ElementaryMultiset || r == ProductMultiset ? r : PlaceMultiset;
    case PlaceNumber:
        return NumberWith(r, PlaceNumber);
    case ElementaryMultiset:
        return r == ProductMultiset ? -343 : ElementaryMultiset;
    case ProductMultiset:
        return r == ElementaryMultiset ? -348 : ProductMultiset;
    case Number:
        return NumberWith(r, Number);
    default:
        return -375;
    }
}

void BinaerOp::ReportMismatch(int negatedLine)
{
    switch (-negatedLine) {
    case 343:
        CellError(343, "BinaerOp::GetResultType()", "e_mset_expr op p_mset_expr");
    case 348:
        CellError(348, "BinaerOp::GetResultType()", "p_mset_expr op e_mset_expr");
    default:
        CellError(375, "BinaerOp:GetResultType()", "unexpected result type");
    }
}

int BinaerOp::GetResultType() const
{
    if (IsComparisonOrLogic(op)) return Boolean;
    int l = left->GetResultType();
    int type = CombinedType(l, right->GetResultType());
    if (type < 0) ReportMismatch(type);
    return type;
}

bool BinaerOp::operator==(const Cell& c) const
{
    return c.GetCellType() == BinaerOpCell && c.GetConstOp() == op &&
           *left == *c.GetConstLeftOpd() && *right == *c.GetConstRightOpd();
}
