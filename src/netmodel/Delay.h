// Delay: how a binding is timed once enabled: immediate with a firing
// weight, an exponential mean delay, a deterministic delay, a general
// distribution given as text, or a uniform distribution. The generation asks
// delays for numbers; the PMF writer asks general ones to print themselves.
#pragma once

#include <cstdio>

#include "netmodel/CellVal.h"

class Cell;

class Delay {
public:
    virtual ~Delay() = default;
    virtual CellVal* Calculate() = 0;
    virtual double CalculateFloat() = 0;
    virtual Cell* GetCell() const = 0;
    virtual int GetDelayType() const = 0;
    virtual bool IsPlaceDependent() = 0;
    virtual Delay* Copy() const = 0;
    virtual void Clear() = 0;
    // Assignment takes the parameters of a delay of the same class and leaves
    // this delay unchanged otherwise.
    virtual Delay& operator=(const Delay* d) = 0;
    virtual Delay& operator=(const Delay& d) = 0;
    virtual bool operator==(const Delay& d) const = 0;
    bool operator!=(const Delay& d) const { return !(*this == d); }
    virtual const char* GetGeneral() const { return nullptr; }
    virtual double GetUniformBegin() const { return 0.0; }
    virtual double GetUniformEnd() const { return 0.0; }
    virtual void PrintPMF(FILE*) {}
    virtual Cell* GetImmediate() const { return nullptr; }
    virtual Cell* GetExponential() const { return nullptr; }
    virtual Cell* GetDeterministic() const { return nullptr; }

protected:
    Delay() = default;
    Delay(const Delay&) = default;
};
