// Cell: a node of an expression tree. Leaves are constants (ConstVal) and
// place functions (Function), inner nodes operators (UnaerOp, BinaerOp); a
// performance measure is rooted in a RatingCell. Evaluation reads the actual
// (Calculate) or the new (NewCalculate) contents of the bound place headers
// and returns a new value owned by the caller. Every cell owns its children.
// Every walk over a tree recurses once per level: the description reader
// bounds the depth (GetDepth), which each operator keeps without a walk.
#pragma once

#include <cstddef>

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

// Selects the operator constructors that take over the operand cells they
// are given instead of copying them. The description reader hands over the
// cells it has just built and keeps no other reference to them; copying
// again at every level would make a chain of n terms cost n squared.
struct AdoptOperands {};

// No result type known (see Cell::FreshResultType).
constexpr int kUnknownResultType = -1;

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

    // The height of the tree below this cell, 1 for a leaf. Operators keep it
    // from their operands as they are built, assigned or cleared.
    int GetDepth() const { return depth; }
    // How many cells this process has built so far: the description reader
    // bounds the cells one description may cost.
    static std::size_t CellsBuilt() { return built; }

    [[noreturn]] static void CellError(int line, const char* function, const char* description);

protected:
    Cell() { ++built; }
    Cell(const Cell&) : Cell() {}

    // The result type of c as GetResultType() gives it. An operator built
    // by taking over fresh operands remembers the type it had then, so a
    // tree assembled bottom-up asks each cell once instead of walking the
    // whole tree at every level; any other cell is asked.
    static int FreshResultType(const Cell* c)
    {
        return c->freshType != kUnknownResultType ? c->freshType : c->GetResultType();
    }
    static int DepthAbove(const Cell* a, const Cell* b = nullptr)
    {
        int da = a ? a->depth : 0;
        int db = b ? b->depth : 0;
        return 1 + (da > db ? da : db);
    }

    int depth = 1;
    // Set only by the adopting constructors, and forgotten by anything that
    // changes the operator; kUnknownResultType when GetResultType() would
    // report an error or the type was never recorded.
    int freshType = kUnknownResultType;

private:
    static inline std::size_t built = 0;
};
