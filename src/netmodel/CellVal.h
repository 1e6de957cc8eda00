// CellVal: the value of an evaluated expression: a text, a number or a
// token multiset. Every operator of the expression language is a virtual
// operation that takes the right-hand value and returns a new value owned by
// the caller; truth values are numbers 1.0 and 0.0.
#pragma once

#include "foundation/Str.h"
#include "statedata/Multiset.h"

// Result types of values and expressions.
enum ResultType : int {
    PlaceMultiset = 0,       // contents of a place (@p)
    PlaceNumber = 1,         // a number read from a place (#p)
    ElementaryMultiset = 2,  // plain tokens (token number 0), or empty
    ProductMultiset = 3,     // coloured tokens
    Boolean = 4,
    Number = 5,
    Text = 6,
};

class CellVal {
public:
    virtual ~CellVal() = default;
    virtual void Clear() {}
    virtual CellVal* Copy() const = 0;
    virtual bool IsTMS() const = 0;
    virtual int GetResultType() const = 0;
    virtual double GetFloat() const { return 0.0; }
    virtual Str GetString() const { return Str(); }
    virtual const Tms* GetConstTms() const { return nullptr; }
    virtual Tms* GetTms() { return nullptr; }

    virtual CellVal& operator=(const CellVal& r) = 0;
    virtual CellVal* operator==(const CellVal& r) const = 0;
    virtual CellVal* operator!=(const CellVal& r) const = 0;
    virtual CellVal* operator>=(const CellVal& r) const = 0;
    virtual CellVal* operator<=(const CellVal& r) const = 0;
    virtual CellVal* operator>(const CellVal& r) const = 0;
    virtual CellVal* operator<(const CellVal& r) const = 0;
    virtual CellVal* operator+(const CellVal& r) const = 0;
    virtual CellVal* operator*(const CellVal& r) const = 0;
    virtual CellVal* operator-(const CellVal& r) const = 0;
    virtual CellVal* operator/(const CellVal& r) const = 0;
    virtual CellVal* operator-() const = 0;
    virtual CellVal* operator&&(const CellVal& r) const = 0;
    virtual CellVal* operator||(const CellVal& r) const = 0;
    virtual CellVal* operator!() const = 0;
    virtual CellVal* Abs() const = 0;       // the # operator
    virtual CellVal* Contents() const = 0;  // the @ operator

    // Kind mismatches found while evaluating end the run from here.
    [[noreturn]] static void CellValError(int line, const char* function,
                                          const char* description);

protected:
    CellVal() = default;
    CellVal(const CellVal&) = default;
};
