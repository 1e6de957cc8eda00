// The matrices of the transient analysis of a subordinated chain: the
// uniformized step matrix P = I + Q/rate over the chain's own states (Q the
// generator of the moves that stay in the chain, its diagonal minus the total
// exit rate), and the rows of the firing probabilities and of the leaving
// rates over a compact numbering of all target states outside or inside.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "workers/SubordinatedChain.h"

struct SparseRows {
    std::vector<std::size_t> start;  // row i: entries start[i] .. start[i+1]-1
    std::vector<std::uint32_t> column;
    std::vector<double> value;

    std::size_t Rows() const { return start.empty() ? 0 : start.size() - 1; }
};

struct UniformizedChain {
    double rate = 0.0;                   // uniformization rate; > 0
    SparseRows step;                     // P, columns are chain-local indices
    SparseRows firing;                   // columns index `targets`
    SparseRows leaving;                  // rates of moves out of the chain, columns index `targets`
    std::vector<std::uint32_t> targets;  // ascending state numbers

    // fallbackRate: used when no state has an exponential move (any positive
    // rate gives P = I then).
    UniformizedChain(const SubordinatedChain& chain, double fallbackRate);
};
