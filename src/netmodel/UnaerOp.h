// UnaerOp: a unary operator node, logical not (!) or negation (-).
#pragma once

#include "netmodel/Cell.h"
#include "netmodel/ConstVal.h"

class UnaerOp : public Cell {
public:
    UnaerOp();
    UnaerOp(Operator op, const Cell* c);
    // The same, taking over c (a null one becomes a ConstVal()).
    UnaerOp(Operator op, Cell* c, AdoptOperands);
    template <CellNumber N>
    UnaerOp(Operator o, N v) : op(o), opd(new ConstVal(v))
    {
        depth = 2;
    }
    // A copy of another unary operator; any other cell gives the default.
    explicit UnaerOp(const Cell* c);
    explicit UnaerOp(const Cell& c) : UnaerOp(&c) {}
    UnaerOp(const UnaerOp& o) : UnaerOp(static_cast<const Cell*>(&o)) {}
    UnaerOp& operator=(const UnaerOp& o);
    ~UnaerOp() override { delete opd; }

    void Clear() override;
    Cell* Copy() const override { return new UnaerOp(*this); }
    CellVal* Calculate() const override;
    CellVal* NewCalculate() const override;
    int GetCellType() const override { return UnaerOpCell; }
    int GetResultType() const override;
    bool IsPlaceDependent() const override { return opd->IsPlaceDependent(); }
    Cell& operator=(const Cell& c) override;
    bool operator==(const Cell& c) const override;
    double CalculateFloat() const override;
    Operator GetConstOp() const override { return op; }
    const Cell* GetConstOpd() const override { return opd; }

private:
    void Adopt(Cell* c);

    CellVal* Apply(CellVal* value, int line, const char* function) const;

    Operator op = NoOp;
    Cell* opd;
};
