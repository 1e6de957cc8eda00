// Constant cells.
#include "netmodel/ConstVal.h"

#include <memory>

#include "netmodel/FloatVal.h"
#include "netmodel/TextVal.h"
#include "netmodel/TokenMSVal.h"

ConstVal::ConstVal() : val(new FloatVal()) {}
ConstVal::ConstVal(int v) : val(new FloatVal(v)) {}
ConstVal::ConstVal(bool v) : val(new FloatVal(v)) {}
ConstVal::ConstVal(double v) : val(new FloatVal(v)) {}
ConstVal::ConstVal(const char* s) : val(new TextVal(s)) {}
ConstVal::ConstVal(const Str& s) : val(new TextVal(s)) {}
ConstVal::ConstVal(const Tms* t) : val(new TokenMSVal(t)) {}
ConstVal::ConstVal(const CellVal* v) : val(v ? v->Copy() : new FloatVal()) {}

ConstVal::ConstVal(const Cell* c)
    : val(c && c->GetConstCellVal() ? c->GetConstCellVal()->Copy() : new FloatVal())
{
}

ConstVal::ConstVal(const ConstVal& o) : Cell(o), val(o.val->Copy()) {}

ConstVal& ConstVal::operator=(const ConstVal& o)
{
    static_cast<Cell&>(*this) = o;
    return *this;
}

Cell& ConstVal::operator=(const Cell& c)
{
    if (&c == this || c.GetCellType() != ConstValCell) return *this;
    CellVal* copy = c.GetConstCellVal()->Copy();
    delete val;
    val = copy;
    return *this;
}

bool ConstVal::operator==(const Cell& c) const
{
    if (c.GetCellType() != ConstValCell) return false;
    std::unique_ptr<CellVal> equal(*val == *c.GetConstCellVal());
    return equal->GetFloat() != 0.0;
}
