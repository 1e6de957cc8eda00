// Decoding and checking of kiln_da's stream.
#include "workers/KilnStream.h"

#include <algorithm>
#include <limits>
#include <string>
#include <utility>

#include "workers/ChainStreamChecks.h"

namespace {

// Q row: the pair with a value <= 0 is the diagonal (minus the total rate, or
// 0.0 for a state whose only transition is the deterministic one); it names
// the row's state. Every other pair is an exponential move.
std::uint32_t ReadQRow(StreamDecoder& in, std::int64_t preemptingLeft, ChainState& state,
                       std::vector<double>& preempting)
{
    in.Count("last_of_scc", 0, 1);
    const std::int64_t pairs = in.Count("no_n_states", 1, kMaxMovesPerState);
    std::uint32_t rowState = 0;
    for (std::int64_t i = 0; i < pairs && in.Ok(); ++i) {
        const std::uint32_t target = in.Unsigned();
        const double value = in.Double("a rate");
        if (!in.Ok()) break;
        if (target == 0) in.Fail("a target state number is 0");
        if (value > 0.0) {
            state.moves.push_back({target, value});
        } else if (rowState != 0) {
            in.Fail("two pairs with a value <= 0 (diagonal entries)");
        } else {
            rowState = target;
            state.exitRate = -value;
        }
    }
    if (in.Ok() && rowState == 0) in.Fail("no diagonal pair");
    const std::int64_t count = in.Count("no_p_states", 0, preemptingLeft);
    for (std::int64_t i = 0; i < count && in.Ok(); ++i) {
        const double rate = in.Double("a preempting rate");
        if (in.Ok() && !(rate > 0.0)) in.Fail("a preempting rate is " + std::to_string(rate));
        preempting.push_back(rate);
    }
    std::reverse(preempting.begin(), preempting.end());  // sent in reverse list order
    double preemptingSum = 0.0;
    for (double rate : preempting) preemptingSum += rate;
    CheckExitRate(in, state, preemptingSum);
    return rowState;
}

void ReadHeader(StreamDecoder& in, KilnInput& input, std::int64_t& states)
{
    in.Section("header");
    input.chain.classNumber = static_cast<int>(in.Count("class_id", 1, kMaxClassNumber));
    states = in.Count("no_states", 1, kMaxChainStates);
    input.chain.firstState = in.Unsigned();
    input.preemptingArcs =
        in.Count("no_preempting_arcs", 0, std::numeric_limits<std::int32_t>::max());
    in.Expect("no_total_csmcs", 1);
    in.Expect("acyclic", 0);
    in.Expect("branch", 0);
    const std::uint64_t last = static_cast<std::uint64_t>(input.chain.firstState) + states - 1;
    if (in.Ok() &&
        (input.chain.firstState == 0 || last > std::numeric_limits<std::uint32_t>::max()))
        in.Fail("first_state_no " + std::to_string(input.chain.firstState) +
                " does not give valid state numbers");
}

void ReadDelay(StreamDecoder& in, KilnInput& input)
{
    in.Section("delay");
    in.Expect("no_tau_csmcs", 1);
    in.Expect("the delay count", 1);
    input.delay = in.Double("tau");
    in.Expect("md_tau", 0);
    const double again = in.Double("tau");
    if (in.Ok() && !(input.delay > 0.0)) in.Fail("tau is " + std::to_string(input.delay));
    if (in.Ok() && again != input.delay) in.Fail("the two copies of tau differ");
}

}  // namespace

bool ReadKilnStream(StreamDecoder& in, KilnInput& input)
{
    std::int64_t states = 0;
    ReadHeader(in, input, states);
    if (!in.Ok()) return false;
    const auto count = static_cast<std::size_t>(states);
    SubordinatedChain& chain = input.chain;

    // Rows arrive in visiting order; they are kept in that order until all
    // have come, so memory follows the data actually received.
    std::vector<bool> seen(count, false);
    std::vector<std::uint32_t> visiting;
    std::vector<ChainState> rows;
    std::vector<std::vector<double>> rowPreempting;
    std::int64_t preemptingLeft = input.preemptingArcs;
    for (std::size_t k = 0; k < count && in.Ok(); ++k) {
        in.Section(RowSection("Q row", k, count));
        ChainState row;
        std::vector<double> preempting;
        const std::uint32_t state = ReadQRow(in, preemptingLeft, row, preempting);
        visiting.push_back(RowIndex(in, chain.firstState, state, seen));
        preemptingLeft -= static_cast<std::int64_t>(preempting.size());
        rows.push_back(std::move(row));
        rowPreempting.push_back(std::move(preempting));
    }
    if (in.Ok() && preemptingLeft != 0)
        in.Fail("the Q rows hold " + std::to_string(input.preemptingArcs - preemptingLeft) +
                " preempting rates, the header announced " + std::to_string(input.preemptingArcs));
    if (!in.Ok()) return false;
    chain.states.resize(count);
    input.preemptingRates.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
        chain.states[visiting[k]] = std::move(rows[k]);
        input.preemptingRates[visiting[k]] = std::move(rowPreempting[k]);
    }

    ReadDelay(in, input);
    for (std::size_t k = 0; k < count && in.Ok(); ++k) {
        in.Section(RowSection("delta row", k, count));
        ChainState& state = chain.states[visiting[k]];
        in.Expect("the delta row marker", 1);
        const std::int64_t pairs = in.Count("no_n_states", 1, kMaxMovesPerState);
        for (std::int64_t i = 0; i < pairs && in.Ok(); ++i)
            state.firing.push_back(ReadPair(in, PairOrder::StateFirst, false));
        CheckFiringRow(in, state);
    }

    in.Section("preempting targets");
    for (std::int64_t i = 0; i < input.preemptingArcs && in.Ok(); ++i) {
        const std::uint32_t target = in.Unsigned();
        if (in.Ok() && (target == 0 || chain.Contains(target)))
            in.Fail("preempting target " + std::to_string(target) +
                    " is not a state outside the chain");
        input.preemptingTargets.push_back(target);
    }
    return in.Ok();
}
