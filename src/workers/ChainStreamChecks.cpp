// Row checks shared by the kiln_da and ekiln stream readers.
#include "workers/ChainStreamChecks.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// Rounding in the engine's sums of rates and of branching probabilities.
constexpr double kRateTolerance = 1e-9;
constexpr double kProbabilityTolerance = 1e-6;

}  // namespace

std::string RowSection(const char* part, std::size_t k, std::size_t count)
{
    return std::string(part) + " " + std::to_string(k + 1) + " of " + std::to_string(count);
}

ChainMove ReadPair(StreamDecoder& in, PairOrder order, bool isRate)
{
    ChainMove move;
    if (order == PairOrder::StateFirst) move.target = in.Unsigned();
    move.value = in.Double(isRate ? "a rate" : "a probability");
    if (order == PairOrder::ValueFirst) move.target = in.Unsigned();
    if (!in.Ok()) return move;
    if (move.target == 0) in.Fail("a target state number is 0");
    if (isRate ? !(move.value > 0.0) : !(move.value >= 0.0))
        in.Fail(std::string(isRate ? "a rate" : "a probability") + " is " +
                std::to_string(move.value));
    return move;
}

std::uint32_t RowIndex(StreamDecoder& in, std::uint32_t firstState, std::uint32_t state,
                       std::vector<bool>& seen)
{
    if (!in.Ok()) return 0;
    if (state < firstState || state - firstState >= seen.size()) {
        in.Fail("the row of state " + std::to_string(state) + " is not a state of the chain");
        return 0;
    }
    const std::uint32_t index = state - firstState;
    if (seen[index]) {
        in.Fail("state " + std::to_string(state) + " has a second row");
        return 0;
    }
    seen[index] = true;
    return index;
}

void CheckExitRate(StreamDecoder& in, const ChainState& state, double extra)
{
    double sum = extra;
    for (const ChainMove& m : state.moves) sum += m.value;
    if (in.Ok() && !(std::fabs(sum - state.exitRate) <= kRateTolerance * std::max(1.0, sum)))
        in.Fail("the diagonal " + std::to_string(-state.exitRate) +
                " does not match the rates of the row (sum " + std::to_string(sum) + ")");
}

void CheckFiringRow(StreamDecoder& in, const ChainState& state)
{
    double sum = 0.0;
    for (const ChainMove& m : state.firing) sum += m.value;
    if (in.Ok() && !(std::fabs(sum - 1.0) <= kProbabilityTolerance))
        in.Fail("the firing probabilities sum to " + std::to_string(sum) + ", not 1");
}
