// Reading and checking of the row contents that both workers' streams share:
// move and firing pairs, the row's state, and the consistency of a row's
// diagonal with its rates and of a firing row's probabilities with 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "workers/StreamDecoder.h"
#include "workers/SubordinatedChain.h"

// "Q row 3 of 40": names row k (0-based) of a part for the messages.
std::string RowSection(const char* part, std::size_t k, std::size_t count);

enum class PairOrder { StateFirst, ValueFirst };

// One (state, value) pair: the state a valid state number, the value finite
// and positive (a rate) or non-negative (a probability).
ChainMove ReadPair(StreamDecoder& in, PairOrder order, bool isRate);

// The chain-local index of a row's state in the chain of seen.size() states
// from firstState on; fails when the state is not in the chain or already had
// its row in this part of the stream.
std::uint32_t RowIndex(StreamDecoder& in, std::uint32_t firstState, std::uint32_t state,
                       std::vector<bool>& seen);

// exitRate (minus the diagonal) must be the sum of the moves plus `extra`.
void CheckExitRate(StreamDecoder& in, const ChainState& state, double extra);

// The firing probabilities of a state must sum to 1.
void CheckFiringRow(StreamDecoder& in, const ChainState& state);
