// ConstVal: a constant leaf of an expression: a number, a text or a token
// multiset. Its value is never null.
#pragma once

#include <concepts>

#include "foundation/Str.h"
#include "netmodel/Cell.h"

// The plain numbers a constant can be built from.
template <class T>
concept CellNumber = std::same_as<T, int> || std::same_as<T, bool> || std::same_as<T, double>;

class ConstVal : public Cell {
public:
    ConstVal();
    explicit ConstVal(int v);
    explicit ConstVal(bool v);
    explicit ConstVal(double v);
    explicit ConstVal(const char* s);
    explicit ConstVal(const Str& s);
    explicit ConstVal(const Tms* t);
    explicit ConstVal(const CellVal* v);
    // The value of another constant; 0.0 for any other cell.
    explicit ConstVal(const Cell* c);
    explicit ConstVal(const Cell& c) : ConstVal(&c) {}
    ConstVal(const ConstVal& o);
    ConstVal& operator=(const ConstVal& o);
    ~ConstVal() override { delete val; }

    void Clear() override { val->Clear(); }
    Cell* Copy() const override { return new ConstVal(*this); }
    CellVal* Calculate() const override { return val->Copy(); }
    CellVal* NewCalculate() const override { return val->Copy(); }
    int GetCellType() const override { return ConstValCell; }
    int GetResultType() const override { return val->GetResultType(); }
    bool IsPlaceDependent() const override { return false; }
    Cell& operator=(const Cell& c) override;
    bool operator==(const Cell& c) const override;
    double CalculateFloat() const override { return val->GetFloat(); }
    const Tms* GetConstTms() const override { return val->GetConstTms(); }
    const CellVal* GetConstCellVal() const override { return val; }

private:
    CellVal* val;
};
