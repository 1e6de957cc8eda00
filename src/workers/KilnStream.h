// Reader of the data stream that kiln_da receives for one deterministic
// subordinated chain: a header, one Q row per state (in the engine's
// depth-first visiting order, without the row's state number except in its
// diagonal pair), the delay, one firing ("delta") row per state in the same
// order, and the targets of all preempting moves in the order of the chain's
// member list. The preempting rates travel inside the Q rows, in reverse
// list order per state; they are paired with their targets afterwards, with
// the member list the engine writes into a file of its own (MemberOrder.h).
#pragma once

#include <cstdint>
#include <vector>

#include "workers/StreamDecoder.h"
#include "workers/SubordinatedChain.h"

struct KilnInput {
    SubordinatedChain chain;  // moves: the exponential moves so far
    double delay = 0.0;
    std::int64_t preemptingArcs = 0;
    std::vector<std::vector<double>> preemptingRates;  // per state, in its list order
    std::vector<std::uint32_t> preemptingTargets;      // as sent: member order
};

bool ReadKilnStream(StreamDecoder& in, KilnInput& input);
