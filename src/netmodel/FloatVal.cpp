// Number values: arithmetic, comparisons and logic against numbers and
// multisets.
#include "netmodel/FloatVal.h"

#include <cmath>
#include <functional>

template <class Relation>
CellVal* FloatVal::Compare(const CellVal& r, Relation holds) const
{
    if (r.IsTMS()) return new FloatVal(false);
    return new FloatVal(holds(value, r.GetFloat()));
}

CellVal& FloatVal::operator=(const CellVal& r)
{
    if (r.IsTMS()) CellValError(80, "operator =", "double = tokenmultiset");
    value = r.GetFloat();
    return *this;
}

CellVal* FloatVal::operator==(const CellVal& r) const { return Compare(r, std::equal_to<>()); }
CellVal* FloatVal::operator!=(const CellVal& r) const
{
    return Compare(r, std::not_equal_to<>());
}
CellVal* FloatVal::operator>=(const CellVal& r) const
{
    return Compare(r, std::greater_equal<>());
}
CellVal* FloatVal::operator<=(const CellVal& r) const { return Compare(r, std::less_equal<>()); }
CellVal* FloatVal::operator>(const CellVal& r) const { return Compare(r, std::greater<>()); }
CellVal* FloatVal::operator<(const CellVal& r) const { return Compare(r, std::less<>()); }

CellVal* FloatVal::operator+(const CellVal& r) const
{
    if (r.IsTMS()) CellValError(87, "operator +", "double + tokenmultiset");
    return new FloatVal(value + r.GetFloat());
}

CellVal* FloatVal::operator-(const CellVal& r) const
{
    if (r.IsTMS()) CellValError(93, "operator -", "double - tokenmultiset");
    return new FloatVal(value - r.GetFloat());
}

CellVal* FloatVal::operator*(const CellVal& r) const
{
    if (r.IsTMS()) return r * *this;  // a number times a multiset scales the multiset
    return new FloatVal(value * r.GetFloat());
}

CellVal* FloatVal::operator/(const CellVal& r) const
{
    if (r.IsTMS()) CellValError(105, "operator /", "double / tokenmultiset");
    double divisor = r.GetFloat();
    if (divisor == 0.0) return new FloatVal(value);  // the dividend, not an error
    return new FloatVal(value / divisor);
}

CellVal* FloatVal::operator&&(const CellVal& r) const
{
    if (r.IsTMS() && r.GetConstTms())
        return new FloatVal(value != 0.0 && r.GetConstTms()->quant > 0);
    return new FloatVal(value != 0.0 && r.GetFloat() != 0.0);
}

CellVal* FloatVal::operator||(const CellVal& r) const
{
    if (r.IsTMS() && r.GetConstTms())
        return new FloatVal(value != 0.0 || r.GetConstTms()->quant != 0);
    return new FloatVal(value != 0.0 || r.GetFloat() != 0.0);
}

CellVal* FloatVal::Abs() const { return new FloatVal(std::fabs(value)); }
