// How the error bounds of the rating cells carry through a measure's
// expression. The expression language has more operators than a table of
// derivative rules would want to follow, so each cell's share is measured:
// the measure is evaluated again with that cell's value moved, and the
// difference quotient scales the cell's bound. The shares are added in
// magnitude, so that errors of different cells cannot cancel.
#include "evaluation/NetEvaluation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// The step of the difference quotient: the bound itself where it is not
// lost in the value's rounding, else a step the value's digits can carry.
constexpr double kSmallestRelativeStep = 1e-8;

}  // namespace

double MeasureError(Cell* measure, double value, const RatingValues& values,
                    const RatingValues& errors)
{
    std::vector<Cell*> cells;
    RatingCellsOf(measure, cells);
    RatingValues moved = values;
    double error = 0.0;
    for (Cell* cell : cells) {
        double bound = errors.at(cell);
        if (bound == 0.0) continue;
        double original = values.at(cell);
        double step = std::max(bound, kSmallestRelativeStep * std::fabs(original));
        moved[cell] = original + step;
        error += std::fabs(SubstitudeRatingCells(measure, moved) - value) * (bound / step);
        moved[cell] = original;
    }
    return error;
}

double RoundingError(double value, std::size_t states)
{
    // A few units of rounding per probability from the chain's entries and
    // the solver's sums, and the sum over the states, whose rounding errors
    // add up like a random walk.
    constexpr double kUnits = 16.0;
    const double unit = std::numeric_limits<double>::epsilon();
    return (kUnits + std::sqrt(static_cast<double>(states))) * unit * std::fabs(value);
}
