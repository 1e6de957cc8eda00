// UniForm: a delay distributed uniformly between a lower and an upper bound.
// It shares the general delay-type code; its GetGeneral() is null.
#pragma once

#include "netmodel/Delay.h"
#include "statedata/DelayVal.h"

class UniForm : public Delay {
public:
    UniForm() = default;
    UniForm(double lower, double upper) : begin(lower), end(upper) {}
    explicit UniForm(const Delay& d);
    UniForm(const UniForm& o) = default;
    UniForm& operator=(const UniForm& o)
    {
        *this = static_cast<const Delay*>(&o);
        return *this;
    }

    CellVal* Calculate() override;
    double CalculateFloat() override { return begin; }
    Cell* GetCell() const override { return nullptr; }
    int GetDelayType() const override { return kDelayGeneral; }
    bool IsPlaceDependent() override { return false; }
    Delay* Copy() const override { return new UniForm(begin, end); }
    void Clear() override
    {
        begin = 0.0;
        end = 0.0;
    }
    Delay& operator=(const Delay* d) override;
    Delay& operator=(const Delay& d) override { return *this = &d; }
    bool operator==(const Delay& d) const override;
    double GetUniformBegin() const override { return begin; }
    double GetUniformEnd() const override { return end; }
    void PrintPMF(FILE* f) override;

private:
    static bool IsUniform(const Delay& d)
    {
        return d.GetDelayType() == kDelayGeneral && !d.GetGeneral();
    }

    double begin = 0.0;
    double end = 0.0;
};
