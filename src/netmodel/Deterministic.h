// Deterministic: a fixed delay given by an expression.
#pragma once

#include "netmodel/CellDelay.h"
#include "statedata/DelayVal.h"

class Deterministic : public CellDelayOf<Deterministic, kDelayDeterministic> {
public:
    using CellDelayOf::CellDelayOf;
    using CellDelayOf::operator=;
};
