// BinaerOp: a binary operator node: arithmetic, comparison or logic. The
// left value is the receiver of the value operator; the result type follows
// the left operand, and a number combined with a multiset is a multiset.
#pragma once

#include "netmodel/Cell.h"
#include "netmodel/ConstVal.h"

class BinaerOp : public Cell {
public:
    BinaerOp();
    BinaerOp(Operator op, const Cell* l, const Cell* r);
    // The same, taking over l and r (a null one becomes a ConstVal()).
    BinaerOp(Operator op, Cell* l, Cell* r, AdoptOperands);
    BinaerOp(Operator op, const CellVal* l, const CellVal* r);
    BinaerOp(Operator op, const Tms* l, const Tms* r);
    template <CellNumber A, CellNumber B>
    BinaerOp(Operator o, A l, B r) : op(o), left(new ConstVal(l)), right(new ConstVal(r))
    {
        depth = 2;
    }
    // A copy of another binary operator; any other cell gives the default.
    explicit BinaerOp(const Cell* c);
    explicit BinaerOp(const Cell& c) : BinaerOp(&c) {}
    BinaerOp(const BinaerOp& o) : BinaerOp(static_cast<const Cell*>(&o)) {}
    BinaerOp& operator=(const BinaerOp& o);
    ~BinaerOp() override;

    void Clear() override;
    Cell* Copy() const override { return new BinaerOp(*this); }
    CellVal* Calculate() const override;
    CellVal* NewCalculate() const override;
    int GetCellType() const override { return BinaerOpCell; }
    int GetResultType() const override;
    bool IsPlaceDependent() const override
    {
        return left->IsPlaceDependent() || right->IsPlaceDependent();
    }
    Cell& operator=(const Cell& c) override;
    bool operator==(const Cell& c) const override;
    double CalculateFloat() const override;
    Operator GetConstOp() const override { return op; }
    const Cell* GetConstLeftOpd() const override { return left; }
    const Cell* GetConstRightOpd() const override { return right; }

private:
    // The result type of a non-comparison operator on operands of types l
    // and r; when they do not combine, the negated line of the report.
    static int CombinedType(int l, int r);
    [[noreturn]] static void ReportMismatch(int negatedLine);
    void Adopt(Cell* l, Cell* r);

    CellVal* Apply(CellVal* l, CellVal* r, int line, const char* function) const;

    Operator op = NoOp;
    Cell* left;
    Cell* right;
};
