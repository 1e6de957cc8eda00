// A subordinated Markov chain as the workers receive it: a contiguous block
// of state numbers whose states share one enabled deterministic or general
// transition. Every state has its exponential moves (targets anywhere: inside
// the block they stay in the chain, outside it they leave it) and the
// distribution of where the firing of the transition leads.
#pragma once

#include <cstdint>
#include <vector>

// Limits of what a worker accepts from the stream; far above any chain it can
// analyse, they keep a corrupt count from being taken at its word.
constexpr std::int64_t kMaxChainStates = 1 << 26;
constexpr std::int64_t kMaxMovesPerState = 1 << 24;
constexpr std::int64_t kMaxClassNumber = 9999;

struct ChainMove {
    std::uint32_t target = 0;
    double value = 0.0;  // a rate for moves, a probability for the firing
};

struct ChainState {
    double exitRate = 0.0;          // total rate of the exponential moves
    std::vector<ChainMove> moves;   // exponential moves, leaving ones included
    std::vector<ChainMove> firing;  // targets of the firing of the transition
};

struct SubordinatedChain {
    int classNumber = 0;  // number of the chain files
    std::uint32_t firstState = 0;
    std::vector<ChainState> states;  // states[i] is state firstState + i

    bool Contains(std::uint32_t state) const
    {
        return state >= firstState && state - firstState < states.size();
    }
};
