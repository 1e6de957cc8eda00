// Decoding and checking of ekiln's stream.
#include "workers/EkilnStream.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "workers/ChainStreamChecks.h"

namespace {

constexpr std::int64_t kMaxNameLength = 4096;
constexpr std::uint8_t kEntryFlag = 2;

// The members must be distinct and form one block of state numbers.
void ReadMembers(StreamDecoder& in, SubordinatedChain& chain)
{
    in.Section("member records");
    std::vector<std::uint32_t> members;
    for (;;) {
        const std::uint32_t state = in.Unsigned();
        if (!in.Ok() || state == 0) break;
        const std::uint8_t flag = in.Byte();
        if (in.Ok() && flag != 0 && flag != kEntryFlag)
            in.Fail("the flag of state " + std::to_string(state) + " is " + std::to_string(flag));
        if (in.Ok() && static_cast<std::int64_t>(members.size()) >= kMaxChainStates)
            in.Fail("more than " + std::to_string(kMaxChainStates) + " members");
        if (!in.Ok()) return;
        members.push_back(state);
    }
    if (!in.Ok()) return;
    if (members.empty()) {
        in.Fail("the chain has no members");
        return;
    }
    std::sort(members.begin(), members.end());
    if (std::adjacent_find(members.begin(), members.end()) != members.end() ||
        members.back() - members.front() + 1 != members.size()) {
        in.Fail("the members are not distinct consecutive state numbers");
        return;
    }
    chain.firstState = members.front();
    chain.states.resize(members.size());
}

}  // namespace

bool ReadEkilnStream(StreamDecoder& in, EkilnInput& input)
{
    SubordinatedChain& chain = input.chain;
    in.Section("header");
    chain.classNumber = static_cast<int>(in.Count("the class number", 1, kMaxClassNumber));
    const std::int64_t length = in.Count("the name length", 1, kMaxNameLength);
    input.transition = in.Text(static_cast<std::size_t>(length));
    ReadMembers(in, chain);
    if (!in.Ok()) return false;
    const std::size_t count = chain.states.size();

    std::vector<bool> seen(count, false);
    for (std::size_t k = 0; k < count && in.Ok(); ++k) {
        in.Section(RowSection("Q row", k, count));
        const double diagonal = in.Double("the diagonal");
        const std::uint32_t rowState = in.Unsigned();
        const std::int64_t moves = in.UnsignedCount("the move count", 0, kMaxMovesPerState);
        ChainState& state = chain.states[RowIndex(in, chain.firstState, rowState, seen)];
        if (!in.Ok()) break;
        state.exitRate = -diagonal;
        for (std::int64_t i = 0; i < moves && in.Ok(); ++i)
            state.moves.push_back(ReadPair(in, PairOrder::ValueFirst, true));
        CheckExitRate(in, state, 0.0);
    }

    seen.assign(count, false);
    for (std::size_t k = 0; k < count && in.Ok(); ++k) {
        in.Section(RowSection("delta row", k, count));
        const std::uint32_t rowState = in.Unsigned();
        const std::int64_t pairs = in.UnsignedCount("the target count", 1, kMaxMovesPerState);
        ChainState& state = chain.states[RowIndex(in, chain.firstState, rowState, seen)];
        if (!in.Ok()) break;
        for (std::int64_t i = 0; i < pairs && in.Ok(); ++i)
            state.firing.push_back(ReadPair(in, PairOrder::ValueFirst, false));
        CheckFiringRow(in, state);
    }
    return in.Ok();
}
