// How the error bounds of the rating cells carry through a measure's
// expression. The expression language has more operators than a table of
// derivative rules would want to follow, so each cell's share is measured:
// the measure is evaluated again with that cell's value moved, and the
// difference quotient scales the cell's bound. The shares are added in
// magnitude, so that errors of different cells cannot cancel.
// The bound adds every state's error in magnitude, while an iteration's
// error, spread over many states, largely cancels in a measure (kanban N=3
// at 1e-9: bounds of 1e-12 against a real error of 8e-15). So the measure
// is also moved along each of the solver's last steps, extrapolated as the
// states' bounds are, all its cells at once; the largest of these moves
// is the estimate where it is below the bound.
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

namespace {

// The measure's change when its cells move by `direction`, to first order:
// the move is scaled up until the cell moving most, relative to its value,
// moves by kSmallestRelativeStep, so that it shows in the cells' digits.
double MoveAlong(Cell* measure, double value, const std::vector<Cell*>& cells,
                 const RatingValues& values, const RatingValues& direction)
{
    double largest = 0.0;  // the largest move relative to its cell's value
    for (Cell* cell : cells) {
        double d = std::fabs(direction.at(cell)), v = std::fabs(values.at(cell));
        if (d != 0.0) largest = std::max(largest, v == 0.0 ? kSmallestRelativeStep : d / v);
    }
    if (largest == 0.0) return 0.0;
    double scale = std::max(1.0, kSmallestRelativeStep / largest);
    RatingValues moved = values;
    for (Cell* cell : cells) moved[cell] += scale * direction.at(cell);
    return std::fabs(SubstitudeRatingCells(measure, moved) - value) / scale;
}

}  // namespace

double MeasureError(Cell* measure, double value, const RatingValues& values,
                    const RatingErrors& errors)
{
    std::vector<Cell*> cells;
    RatingCellsOf(measure, cells);
    RatingValues moved = values;
    double error = 0.0;
    for (Cell* cell : cells) {
        double bound = errors.bounds.at(cell);
        if (bound == 0.0) continue;
        double original = values.at(cell);
        double step = std::max(bound, kSmallestRelativeStep * std::fabs(original));
        moved[cell] = original + step;
        error += std::fabs(SubstitudeRatingCells(measure, moved) - value) * (bound / step);
        moved[cell] = original;
    }
    if (errors.steps.empty()) return error;
    double along = 0.0;
    for (const RatingValues& direction : errors.steps)
        along = std::max(along, MoveAlong(measure, value, cells, values, direction));
    return std::min(error, along);
}

double RoundingError(double value, std::size_t states)
{
    // A few units of rounding per probability from the chain's entries and
    // the solver's sums, and the sum over the states in the order of the
    // markings: n roundings, each within half a unit of the partial sum, add
    // up like a random walk to about sqrt(n) / 6 units of the value, and half
    // of sqrt(n) is three times that. (Kanban N=3, 58,400 states, solved to
    // 1e-11: its three measures were off by 2, 11 and 31 units.)
    constexpr double kUnits = 16.0;
    const double unit = std::numeric_limits<double>::epsilon();
    return (kUnits + 0.5 * std::sqrt(static_cast<double>(states))) * unit * std::fabs(value);
}
