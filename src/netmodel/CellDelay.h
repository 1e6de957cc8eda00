// CellDelay: the common part of the delays whose number is an expression
// (Immediate, Exponential, Deterministic). The expression is evaluated at
// every call, so a marking-dependent weight or delay follows the marking
// loaded in the places; a number of zero or less ends the run.
#pragma once

#include "netmodel/Cell.h"
#include "netmodel/Delay.h"

class CellDelay : public Delay {
public:
    ~CellDelay() override { CellDelay::Clear(); }

    CellVal* Calculate() override;
    double CalculateFloat() override;
    Cell* GetCell() const override { return cell; }
    int GetDelayType() const override { return code; }
    bool IsPlaceDependent() override { return cell->IsPlaceDependent(); }
    void Clear() override;
    Delay& operator=(const Delay* d) override;
    Delay& operator=(const Delay& d) override { return *this = &d; }
    bool operator==(const Delay& d) const override;
    Cell* GetImmediate() const override;
    Cell* GetExponential() const override;
    Cell* GetDeterministic() const override;

protected:
    // `c` is copied; without one the class's default constant is used.
    CellDelay(int code, const Cell* c);
    CellDelay(const CellDelay& o);
    CellDelay& operator=(const CellDelay& o)
    {
        *this = static_cast<const Delay*>(&o);
        return *this;
    }

private:
    // The cell's number, checked to be positive; `function` and `line` name
    // the caller in the report.
    double Number(int line, const char* function) const;
    // Exponential delays hold a mean and answer its reciprocal, the rate.
    double Answer(double number) const;
    Cell* CellIf(int wanted) const { return code == wanted ? cell : nullptr; }

    int code;
    Cell* cell;
};

// The constructors of one expression delay class with delay-type `Code`.
template <class Self, int Code>
class CellDelayOf : public CellDelay {
public:
    explicit CellDelayOf(const Cell* c = nullptr) : CellDelay(Code, c) {}
    // The parameters of `d` when it is of the same class, else the defaults.
    explicit CellDelayOf(const Delay& d)
        : CellDelay(Code, d.GetDelayType() == Code ? d.GetCell() : nullptr)
    {
    }
    using CellDelay::operator=;
    Delay* Copy() const override { return new Self(GetCell()); }
};
