// Immediate: the timing of an immediate binding, an expression for its firing
// weight; the default weight is 1.
#pragma once

#include "netmodel/CellDelay.h"
#include "statedata/DelayVal.h"

class Immediate : public CellDelayOf<Immediate, kDelayImmediate> {
public:
    using CellDelayOf::CellDelayOf;
    using CellDelayOf::operator=;
};
