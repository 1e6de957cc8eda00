// Exponential: a delay given by an expression for the mean delay; its number
// is the rate, the reciprocal of the mean.
#pragma once

#include "netmodel/CellDelay.h"
#include "statedata/DelayVal.h"

class Exponential : public CellDelayOf<Exponential, kDelayExponential> {
public:
    using CellDelayOf::CellDelayOf;
    using CellDelayOf::operator=;
};
