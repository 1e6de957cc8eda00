// RatingCell: the root of a performance measure: a probability, an expected
// value, their conditional forms, or a throughput. Arguments whose result
// type the measure cannot use are not stored; missing arguments count 0.0.
#pragma once

#include "foundation/Str.h"
#include "netmodel/Cell.h"

class RatingCell : public Cell {
public:
    RatingCell() = default;
    RatingCell(RatingType t, const Cell* c1, const Cell* c2);
    // The same, taking over c1 and c2; an argument the measure does not
    // accept is released.
    RatingCell(RatingType t, Cell* c1, Cell* c2, AdoptOperands);
    RatingCell(RatingType t, const Cell* c1) : RatingCell(t, c1, nullptr) {}
    RatingCell(RatingType t, const Str& transitionName);
    RatingCell(RatingType t, int n);
    RatingCell(RatingType t, int n1, int n2);
    RatingCell(RatingType t, int n1, const Cell* c2);
    RatingCell(RatingType t, const Cell* c1, int n2);
    // A copy of another rating cell; any other cell gives type 0.
    explicit RatingCell(const Cell* c);
    explicit RatingCell(const Cell& c) : RatingCell(&c) {}
    RatingCell(const RatingCell& o) : RatingCell(static_cast<const Cell*>(&o)) {}
    RatingCell& operator=(const RatingCell& o);
    ~RatingCell() override { Clear(); }

    void Clear() override;
    Cell* Copy() const override { return new RatingCell(*this); }
    CellVal* Calculate() const override;
    CellVal* NewCalculate() const override;
    int GetCellType() const override { return RatingCellCell; }
    int GetResultType() const override { return Number; }
    bool IsPlaceDependent() const override;
    Cell& operator=(const Cell& c) override;
    bool operator==(const Cell& c) const override;
    double CalculateFloat() const override { return Value(false); }
    double CalculateCell1() const override;
    double CalculateCell2() const override;
    void SetCell2(int n) override;
    const Cell* GetConstCell1() const override { return cell1; }
    const Cell* GetConstCell2() const override { return cell2; }
    int GetRatingType() const override { return type; }

private:
    // Whether a measure of type t takes an argument (1 or 2) of result type r.
    static bool Accepts(RatingType t, int argument, int r);
    // A copy of c when the measure accepts it as that argument, else null.
    static Cell* Accepted(RatingType t, int argument, const Cell* c);
    // c itself when the measure accepts it as that argument, else null (c
    // is then released).
    static Cell* Adopted(RatingType t, int argument, Cell* c);
    void SetArguments(Cell* c1, Cell* c2);
    static double ArgumentValue(const Cell* c, bool onNew);
    double Value(bool onNew) const;

    RatingType type = NoRating;
    Cell* cell1 = nullptr;
    Cell* cell2 = nullptr;
};
