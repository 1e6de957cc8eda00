// Evaluation of the performance measures against the steady-state vector of
// the last solution, and the results file of a pass.
#pragma once

#include "foundation/PtrList.h"
#include "foundation/Str.h"
#include "netmodel/Cell.h"
#include "statedata/Marking.h"

#include <unordered_map>
#include <vector>

// One line "<measure name without root> <value>" per measure of EvalRefs,
// then "*#END#*". The file is created with the bits 0664 before the umask.
void WriteResults(Str fileName);

// The steady-state value of every rating cell in the measure expressions,
// each a sum over all tangible markings; one walk over the markings serves
// all of them.
using RatingValues = std::unordered_map<const Cell*, double>;
RatingValues EvaluateRatingCells(const std::vector<Cell*>& measures);

// The value of a measure expression: constants and operators as usual, each
// rating cell replaced by its value from EvaluateRatingCells.
double SubstitudeRatingCells(Cell* cell, const RatingValues& values);
