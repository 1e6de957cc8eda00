// Text values: equality by text, and the fixed reports for every operator a
// text does not support.
#include "netmodel/TextVal.h"

#include "netmodel/FloatVal.h"

bool TextVal::IsTMS() const { CellValError(20, "IsTMS()", "??? op char*"); }

CellVal& TextVal::operator=(const CellVal& r)
{
    if (r.GetResultType() != Text) CellValError(39, "operator =", "char* = ???");
    text = r.GetString();
    return *this;
}

CellVal* TextVal::operator==(const CellVal& r) const
{
    Str other = r.GetString();
    if (other.IsNull()) return new FloatVal(false);
    return new FloatVal(text.GetString() == other);
}

CellVal* TextVal::operator!=(const CellVal& r) const
{
    Str other = r.GetString();
    if (other.IsNull()) return new FloatVal(true);
    return new FloatVal(text.GetString() != other);
}

CellVal* TextVal::operator+(const CellVal&) const
{
    CellValError(21, "operator +", "char* +  ???");
}

CellVal* TextVal::operator-(const CellVal&) const
{
    CellValError(22, "operator -", "char* -  ???");
}

CellVal* TextVal::operator*(const CellVal&) const
{
    CellValError(23, "operator *", "char* *  ???");
}

CellVal* TextVal::operator/(const CellVal&) const
{
    CellValError(24, "operator /", "char* /  ???");
}

CellVal* TextVal::operator&&(const CellVal&) const
{
    CellValError(25, "operator &&", "char* && ???");
}

CellVal* TextVal::operator||(const CellVal&) const
{
    CellValError(26, "operator ||", "char* || ???");
}

CellVal* TextVal::operator>=(const CellVal&) const
{
    CellValError(27, "operator >=", "char* >= ???");
}

CellVal* TextVal::operator<=(const CellVal&) const
{
    CellValError(28, "operator <=", "char* <= ???");
}

CellVal* TextVal::operator>(const CellVal&) const
{
    CellValError(29, "operator >", "char* >  ???");
}

CellVal* TextVal::operator<(const CellVal&) const
{
    CellValError(30, "operator <", "char* <  ???");
}

CellVal* TextVal::operator!() const { CellValError(31, "unary op. !", "!(char*)"); }

CellVal* TextVal::operator-() const { CellValError(32, "unary op. -", "-(char*)"); }

CellVal* TextVal::Abs() const { CellValError(33, "operator #", "#(char*)"); }

CellVal* TextVal::Contents() const { CellValError(34, "operator @", "@(char*)"); }
