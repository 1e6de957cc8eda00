// Unary operator cells.
#include "netmodel/UnaerOp.h"

#include <memory>

UnaerOp::UnaerOp() : opd(new ConstVal()) { depth = 2; }

UnaerOp::UnaerOp(Operator o, const Cell* c)
    : UnaerOp(o, c ? c->Copy() : nullptr, AdoptOperands{})
{
}

UnaerOp::UnaerOp(Operator o, Cell* c, AdoptOperands) : op(o), opd(c ? c : new ConstVal())
{
    int type = FreshResultType(opd);
    if (type == Text)
        CellError(117, "UnaerOp::UnaerOp(Operator, const Cell*)", "can't calculate textual cells");
    depth = DepthAbove(opd);
    if (op == NotOp) freshType = Boolean;
    if (op == MinusOp) freshType = type;
}

UnaerOp::UnaerOp(const Cell* c) : opd(nullptr)
{
    if (c && c->GetCellType() == UnaerOpCell) {
        op = c->GetConstOp();
        Adopt(c->GetConstOpd()->Copy());
    } else {
        Adopt(new ConstVal());
    }
}

UnaerOp& UnaerOp::operator=(const UnaerOp& o)
{
    static_cast<Cell&>(*this) = o;
    return *this;
}

// Replaces the operand (the old one is released) and forgets what the
// operator was built as.
void UnaerOp::Adopt(Cell* c)
{
    delete opd;
    opd = c;
    depth = DepthAbove(opd);
    freshType = kUnknownResultType;
}

Cell& UnaerOp::operator=(const Cell& c)
{
    if (&c == this || c.GetCellType() != UnaerOpCell) return *this;
    Adopt(c.GetConstOpd()->Copy());
    op = c.GetConstOp();
    return *this;
}

void UnaerOp::Clear()
{
    // The operand stays a valid cell: a cleared operator evaluates like a
    // default-constructed one.
    Adopt(new ConstVal());
}

CellVal* UnaerOp::Apply(CellVal* value, int line, const char* function) const
{
    std::unique_ptr<CellVal> argument(value);
    switch (op) {
    case NotOp:
        return !*argument;
    case MinusOp:
        return -*argument;
    default:
        CellError(line, function, "unknown operator");
    }
}

CellVal* UnaerOp::Calculate() const
{
    return Apply(opd->Calculate(), 175, "UnaerOp::Calculate()");
}

CellVal* UnaerOp::NewCalculate() const
{
    return Apply(opd->NewCalculate(), 191, "UnaerOp::NewCalculate()");
}

double UnaerOp::CalculateFloat() const
{
    double x = opd->CalculateFloat();
    switch (op) {
    case NotOp:
        return x == 0.0 ? 1.0 : 0.0;
    case MinusOp:
        return -x;
    default:
        CellError(161, "UnaerOp::CalculateFloat()", "unknown operator");
    }
}

int UnaerOp::GetResultType() const
{
    switch (op) {
    case NotOp:
        return Boolean;
    case MinusOp:
        return opd->GetResultType();
    default:
        CellError(145, "UnaerOp::GetResultType()", "unknown operator");
    }
}

bool UnaerOp::operator==(const Cell& c) const
{
    return c.GetCellType() == UnaerOpCell && c.GetConstOp() == op && *opd == *c.GetConstOpd();
}
