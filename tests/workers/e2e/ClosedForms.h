// Chains for the end-to-end tests and their EMC and conversion rows derived
// by hand, independently of the workers' numerics.
//
// Queue chain (an M/D/1/K-like chain): chain state for n = 1..K customers is
// first + n - 1, the empty queue is state 1 outside the chain. Arrivals at
// rate lambda move n to n + 1 below K; the firing serves one customer. With
// a_j = P(j arrivals before the firing) and c_j = the expected time spent
// after exactly j arrivals, entered with n customers:
//   EMC(n -> n + j - 1) = a_j,  CONV(n -> n + j) = c_j   for n + j < K,
// and the rests 1 - sum a_j and E[T] - sum c_j at n + j = K.
//
// Preempted chain: states 5 and 6 (outside states 1 and 2). 5 moves to 6 at
// 2.0 and is preempted to 1 at 0.5; 6 is preempted to 2 at 1.25 and to 1 at
// 0.25. Firing from 5 branches to 1 (0.3) and 2 (0.7), from 6 back to 5.
// Its generator in the chain is triangular, [[-2.5, 2], [0, -1.5]].
#pragma once

#include <functional>

#include "harness/EngineSide.h"
#include "harness/WorkerRun.h"

// a_j and c_j of a firing-time distribution for arrivals at rate lambda.
struct ArrivalWeights {
    std::function<double(int)> arrivals;  // a_j
    std::function<double(int)> time;      // c_j
    double meanFiring = 0.0;
};

ArrivalWeights DeterministicArrivals(double lambda, double tau);
ArrivalWeights UniformArrivals(double lambda, double upper);  // T uniform on [0, upper]

TestChain QueueChain(int capacity, double lambda, std::uint32_t first, double tau);
void QueueRows(int capacity, std::uint32_t first, const ArrivalWeights& w, ChainRows& emc,
               ChainRows& conv);

TestChain PreemptedChain(int classNumber, double tau);
// The integrals over the chain's two states, row-major: [AA, AB, BB].
struct TriangularIntegrals {
    double omega[3];
    double psi[3];
};
TriangularIntegrals DeterministicIntegrals(double tau);
TriangularIntegrals ErlangTwoIntegrals();  // firing time x e^-x
void PreemptedRows(const TriangularIntegrals& m, ChainRows& emc, ChainRows& conv);
