// FloatVal: a number, also the carrier of truth values (1.0 and 0.0).
// Combined with a multiset, arithmetic is mostly an error; comparisons give
// false and multiplication is handed to the multiset.
#pragma once

#include "netmodel/CellVal.h"

class FloatVal : public CellVal {
public:
    FloatVal() = default;
    explicit FloatVal(int v) : value(v) {}
    explicit FloatVal(bool b) : value(b ? 1.0 : 0.0) {}
    explicit FloatVal(double v) : value(v) {}
    FloatVal(const FloatVal& o) : CellVal(o), value(o.value) {}
    FloatVal& operator=(const FloatVal& o)
    {
        value = o.value;
        return *this;
    }

    CellVal* Copy() const override { return new FloatVal(value); }
    bool IsTMS() const override { return false; }
    int GetResultType() const override { return Number; }
    double GetFloat() const override { return value; }

    CellVal& operator=(const CellVal& r) override;
    CellVal* operator==(const CellVal& r) const override;
    CellVal* operator!=(const CellVal& r) const override;
    CellVal* operator>=(const CellVal& r) const override;
    CellVal* operator<=(const CellVal& r) const override;
    CellVal* operator>(const CellVal& r) const override;
    CellVal* operator<(const CellVal& r) const override;
    CellVal* operator+(const CellVal& r) const override;
    CellVal* operator*(const CellVal& r) const override;
    CellVal* operator-(const CellVal& r) const override;
    CellVal* operator/(const CellVal& r) const override;
    CellVal* operator-() const override { return new FloatVal(-value); }
    CellVal* operator&&(const CellVal& r) const override;
    CellVal* operator||(const CellVal& r) const override;
    CellVal* operator!() const override { return new FloatVal(value == 0.0); }
    CellVal* Abs() const override;
    CellVal* Contents() const override { return new FloatVal(value); }

private:
    // A comparison with a multiset is false, whatever the relation.
    template <class Relation>
    CellVal* Compare(const CellVal& r, Relation holds) const;

    double value = 0.0;
};
