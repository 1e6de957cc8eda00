// Evaluation of the performance measures against the steady-state vector of
// the last solution, and the results file of a pass.
#pragma once

#include "foundation/PtrList.h"
#include "foundation/Str.h"
#include "netmodel/Cell.h"
#include "statedata/Marking.h"

// One line "<measure name without root> <value>" per measure of EvalRefs,
// then "*#END#*". The file is created with the bits 0664 before the umask.
void WriteResults(Str fileName);

// The value of a measure expression: constants and operators as usual, each
// rating cell replaced by its steady-state value.
double SubstitudeRatingCells(Cell* cell);

// The steady-state value of one rating cell over all tangible markings.
double EvaluateRatingCell(Cell* cell);

// Adds the contributions of the markings of `list` to the accumulators of
// the cell's rating type (Q: the condition's mass, S: the measured mass).
void EvaluateList(PtrList<Marking>& list, Cell* cell, double& Q, double& S);
