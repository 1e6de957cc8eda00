// The transient analysis of one subordinated chain and the output of its
// rows. For every state r of the chain (each may be entered from outside):
//   EMC row r:  sum_k Omega(r,k) firing(k,j) + sum_k Psi(r,k) leaving(k,j)
//               for every target j, where the process is when it leaves the
//               chain (by the firing, or by an exponential move out of it);
//   CONV row r: Psi(r,k) for every chain state k, the expected time spent in
//               k per entry through r.
// The uniformized series is cut within epsilon/2 (StepWeights), the
// propagation prunes at most epsilon/8 (TransientRows), and entries that
// together make up at most epsilon/8 of their row are left out: an EMC row is
// within 3/4 epsilon of its mass, a CONV row within 3/4 epsilon of the mean
// firing time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "workers/Distribution.h"
#include "workers/SubordinatedChain.h"

struct ChainSummary {
    std::size_t states = 0;
    double rate = 0.0;
    std::size_t steps = 0;
    double firingBound = 0.0;   // of the mass of an EMC row
    double sojournBound = 0.0;  // of the sum of a CONV row
    std::uint64_t emcEntries = 0;
    std::uint64_t convEntries = 0;
};

// "chain 03: 40 states, rate 2.5, 31 steps, ...": what the analysis did.
std::string DescribeSummary(int classNumber, const ChainSummary& summary);

// On failure no file is left behind.
bool AnalyseChain(const SubordinatedChain& chain, const Distribution& firing, double epsilon,
                  const std::string& emcPath, const std::string& convPath, ChainSummary& summary,
                  std::string& error);
