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
// `errors` receives for each cell a bound of its value's absolute error,
// from the solver's per-state bounds (0 where it made none), and the cell's
// signed error direction of each of the solver's steps (pi_error_steps).
using RatingValues = std::unordered_map<const Cell*, double>;
struct RatingErrors {
    RatingValues bounds;
    std::vector<RatingValues> steps;
};
RatingValues EvaluateRatingCells(const std::vector<Cell*>& measures, RatingErrors& errors);

// The value of a measure expression: constants and operators as usual, each
// rating cell replaced by its value from EvaluateRatingCells.
double SubstitudeRatingCells(Cell* cell, const RatingValues& values);

// The distinct rating cells of an expression, in the order they are met.
void RatingCellsOf(Cell* cell, std::vector<Cell*>& found);

// A bound of the absolute error of a measure of value `value`: over its
// rating cells, the change of the measure per unit change of the cell, found
// through the expression's own operators, times the cell's error bound.
// Where the solver left error directions, the measure's own extrapolated
// change along them is the estimate when it is smaller: the states' errors
// of a converging iteration mostly cancel in a sum over many of them.
double MeasureError(Cell* measure, double value, const RatingValues& values,
                    const RatingErrors& errors);

// The part of a measure's error that double precision leaves however well
// the chain is solved (kanban N=3, 58,400 states, solved to 1e-11: its
// measures were off by 5e-16 to 7e-15 against a long-double solution),
// below which no estimate goes.
double RoundingError(double value, std::size_t states);
