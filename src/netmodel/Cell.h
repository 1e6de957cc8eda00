// Cell: a node of an expression tree. Leaves are constants (ConstVal) and
// place functions (Function), inner nodes operators (UnaerOp, BinaerOp); a
// performance measure is rooted in a RatingCell. Evaluation reads the actual
// (Calculate) or the new (NewCalculate) contents of the bound place headers
// and returns a new value owned by the caller. Every cell owns its children.
#pragma once

#include "netmodel/CellVal.h"

class PlaceHeader;

// Operator codes are the characters of the operators.
enum Operator : int {
    NoOp = '0',
    NotOp = '!',
    MinusOp = '-',
    PlusOp = '+',
    TimesOp = '*',
    DivideOp = '/',
    LessOp = '<',
    GreaterOp = '>',
    EqualOp = '=',
    NotEqualOp = 'n',
    GreaterEqualOp = 'g',
    LessEqualOp = 'l',
    AndOp = '&',
    OrOp = '|',
    CountOp = '#',     // number of tokens in a place
    ContentsOp = '@',  // contents of a place
};

enum CellType : int {
    ConstValCell = 0,
    UnaerOpCell = 1,
    BinaerOpCell = 2,
    FunctionCell = 3,
    RatingCellCell = 4,
};

// The kind of a performance measure.
enum RatingType : int {
    NoRating = 0,
    Probability = 1,
    Expectation = 2,
    BayesProbability = 3,
    BayesExpectation = 4,
    Throughput = 5,
};

class Cell {
public:
    virtual ~Cell() = default;
    virtual void Clear() = 0;
    virtual Cell* Copy() const = 0;
    virtual CellVal* Calculate() const = 0;
    virtual CellVal* NewCalculate() const = 0;
    virtual int GetCellType() const = 0;
    virtual int GetResultType() const = 0;
    int GetConstCellType() const { return GetCellType(); }
    virtual bool IsPlaceDependent() const = 0;
    virtual Cell& operator=(const Cell& c) = 0;
    virtual bool operator==(const Cell& c) const = 0;
    bool operator!=(const Cell& c) const { return !(*this == c); }

    virtual double CalculateFloat() const { return 0.0; }
    virtual double CalculateCell1() const { return 0.0; }
    virtual double CalculateCell2() const { return 0.0; }
    virtual void SetCell2(int) {}
    virtual void SetPH(PlaceHeader*) {}

    // Field accessors; each class answers for its own fields.
    virtual Operator GetConstOp() const { return NoOp; }
    virtual const Tms* GetConstTms() const { return nullptr; }
    virtual const Cell* GetConstOpd() const { return nullptr; }
    virtual const Cell* GetConstCell1() const { return nullptr; }
    virtual const Cell* GetConstCell2() const { return nullptr; }
    virtual const Cell* GetConstLeftOpd() const { return nullptr; }
    virtual const Cell* GetConstRightOpd() const { return nullptr; }
    virtual const CellVal* GetConstCellVal() const { return nullptr; }
    virtual const PlaceHeader* GetConstPlaceHeader() const { return nullptr; }
    virtual int GetRatingType() const { return NoRating; }

    // The same fields for changing them (the class check binds place
    // headers through these).
    Operator GetOp() const { return GetConstOp(); }
    Tms* GetTms() { return const_cast<Tms*>(GetConstTms()); }
    Cell* GetOpd() { return const_cast<Cell*>(GetConstOpd()); }
    Cell* GetCell1() { return const_cast<Cell*>(GetConstCell1()); }
    Cell* GetCell2() { return const_cast<Cell*>(GetConstCell2()); }
    Cell* GetLeftOpd() { return const_cast<Cell*>(GetConstLeftOpd()); }
    Cell* GetRightOpd() { return const_cast<Cell*>(GetConstRightOpd()); }
    CellVal* GetCellVal() { return const_cast<CellVal*>(GetConstCellVal()); }
    PlaceHeader* GetPlaceHeader() { return const_cast<PlaceHeader*>(GetConstPlaceHeader()); }

    [[noreturn]] static void CellError(int line, const char* function, const char* description);

protected:
    Cell() = default;
    Cell(const Cell&) = default;
};
