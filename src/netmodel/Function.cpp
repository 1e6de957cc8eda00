// Place function cells: construction by place name or header, binding, and
// evaluation against the actual or new contents of the place.
#include "netmodel/Function.h"

#include "netmodel/FloatVal.h"
#include "netmodel/PlaceHeader.h"
#include "netmodel/TokenMSVal.h"

namespace {

bool IsPlaceOp(Operator op) { return op == CountOp || op == ContentsOp; }

// The function behind a cell pointer, reported with the given lines when the
// cell is not a place function with a valid operator.
const Function& AsFunction(const Cell* c, int notFunctionLine, int badOpLine,
                           const char* function, const char* notFunction = "unknown funtion in")
{
    if (!c || c->GetCellType() != FunctionCell)
        Cell::CellError(notFunctionLine, function, notFunction);
    if (!IsPlaceOp(c->GetConstOp())) Cell::CellError(badOpLine, function, "unknown operator");
    return static_cast<const Function&>(*c);
}

}  // namespace

Function::Function(Operator o, const Str& place) : op(o)
{
    const char* function = "Function::Function(Operator,String)";
    if (place.IsNull()) CellError(534, function, "can't create function without placename");
    if (!IsPlaceOp(op)) CellError(542, function, "unknown operator");
    ph = new PlaceHeader(place);
    ownsHeader = true;
}

Function::Function(Operator o, const Str& place, const Tms* f) : op(o)
{
    const char* function = "Function::Function(Operator,String,Tms)";
    if (place.IsNull()) CellError(549, function, "can't create function without placename");
    if (!IsPlaceOp(op)) CellError(557, function, "unknown operator");
    ph = new PlaceHeader(place);
    ownsHeader = true;
    filter = copy_tms(f);
}

Function::Function(Operator o, PlaceHeader* p, const Tms* f) : op(o), ph(p)
{
    const char* function = "Function::Function(Operator,PlaceHeader,Tms)";
    if (!p) CellError(563, function, "placeheader is NULL-pointer");
    if (!IsPlaceOp(op)) CellError(571, function, "unknown operator");
    filter = copy_tms(f);
}

Function::Function(const Cell* c)
    : op(AsFunction(c, 504, 512, "Function::Function(Cell*)").GetConstOp())
{
    TakeHeaderOf(static_cast<const Function&>(*c));
}

Function::Function(const Cell& c)
    : op(AsFunction(&c, 519, 527, "Function::Function(const Cell&)").GetConstOp())
{
    TakeHeaderOf(static_cast<const Function&>(c));
}

Function::Function(const Function& o) : Cell(o), op(o.op), filter(copy_tms(o.filter))
{
    TakeHeaderOf(o);
}

Function& Function::operator=(const Function& o)
{
    static_cast<Cell&>(*this) = o;
    return *this;
}

Cell& Function::operator=(const Cell& c)
{
    const Function& o = AsFunction(&c, 702, 711, "Function::operator =", "unknown funtion");
    if (&o == this) return *this;
    Tms* f = copy_tms(o.filter);
    Clear();
    op = o.op;
    filter = f;
    TakeHeaderOf(o);
    return *this;
}

void Function::TakeHeaderOf(const Function& o)
{
    ownsHeader = o.ownsHeader && o.ph;
    ph = ownsHeader ? new PlaceHeader(*o.ph) : o.ph;
}

void Function::ReleaseHeader()
{
    if (ownsHeader) delete ph;
    ph = nullptr;
    ownsHeader = false;
}

void Function::Clear()
{
    clear_tms(filter);
    ReleaseHeader();
}

void Function::SetPH(PlaceHeader* p)
{
    if (!p || p == ph) return;
    ReleaseHeader();
    ph = p;
}

CellVal* Function::Evaluate(bool onNew, int unboundLine, int filteredLine, int plainLine,
                            const char* function) const
{
    if (!ph) {
        if (op == CountOp) return new FloatVal(0.0);
        if (op == ContentsOp) return new TokenMSVal();
        CellError(unboundLine, function, "unknown operator");
    }
    const Tms* f = ActiveFilter();
    if (op == CountOp) return new FloatVal(Count(onNew));
    if (op == ContentsOp) return TokenMSVal::Adopt(onNew ? ph->FGetNewTms(f) : ph->FGetActTms(f));
    CellError(f ? filteredLine : plainLine, function, "unknown operator");
}

CellVal* Function::Calculate() const
{
    return Evaluate(false, 618, 649, 636, "Function::Calculate()");
}

CellVal* Function::NewCalculate() const
{
    return Evaluate(true, 662, 693, 680, "Function::NewCalculate()");
}

double Function::CalculateFloat() const
{
    if (op != CountOp || !ph) return 0.0;
    return ph->FGetActQuant(ActiveFilter());
}

int Function::GetResultType() const
{
    if (op == CountOp) return PlaceNumber;
    if (op == ContentsOp) return PlaceMultiset;
    CellError(595, "Function::GetResultType()", "unknown operator");
}

bool Function::operator==(const Cell& c) const
{
    if (c.GetCellType() != FunctionCell || c.GetConstOp() != op) return false;
    const PlaceHeader* other = c.GetConstPlaceHeader();
    if (!ph || !other) return ph == other;
    return ph->GetName() == other->GetName() && c.GetConstTms() == filter;
}
