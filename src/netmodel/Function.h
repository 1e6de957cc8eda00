// Function: a place function, the number of tokens (#) or the contents (@)
// of a place, optionally restricted to the colours of a filter. Built by
// name, the function owns a provisional place header carrying that name
// until the class check binds it to the net's header (SetPH); a bound
// header belongs to the net, and copies share it.
#pragma once

#include "foundation/Str.h"
#include "netmodel/Cell.h"
#include "netmodel/PlaceHeader.h"

class Function : public Cell {
public:
    Function(Operator op, const Str& place);
    Function(Operator op, const Str& place, const Tms* filter);
    Function(Operator op, PlaceHeader* ph, const Tms* filter);
    explicit Function(const Cell* c);
    explicit Function(const Cell& c);
    Function(const Function& o);
    Function& operator=(const Function& o);
    ~Function() override { Clear(); }

    void Clear() override;
    Cell* Copy() const override { return new Function(*this); }
    CellVal* Calculate() const override;
    CellVal* NewCalculate() const override;
    int GetCellType() const override { return FunctionCell; }
    int GetResultType() const override;
    bool IsPlaceDependent() const override { return true; }
    Cell& operator=(const Cell& c) override;
    bool operator==(const Cell& c) const override;
    double CalculateFloat() const override;
    void SetPH(PlaceHeader* p) override;
    // What a count (#) evaluates to on the actual or the new contents.
    int Count(bool onNew) const
    {
        if (!ph) return 0;
        const Tms* f = ActiveFilter();
        return onNew ? ph->FGetNewQuant(f) : ph->FGetActQuant(f);
    }
    Operator GetConstOp() const override { return op; }
    const Tms* GetConstTms() const override { return filter; }
    const PlaceHeader* GetConstPlaceHeader() const override { return ph; }

private:
    // Takes the header of `o`: its own copy while `o` is unbound.
    void TakeHeaderOf(const Function& o);
    void ReleaseHeader();
    const Tms* ActiveFilter() const { return filter && filter->first ? filter : nullptr; }
    CellVal* Evaluate(bool onNew, int unboundLine, int filteredLine, int plainLine,
                      const char* function) const;

    Operator op;
    PlaceHeader* ph = nullptr;
    Tms* filter = nullptr;
    bool ownsHeader = false;
};
