// Rows of Omega = sum_n alpha[n] P^n and Psi = sum_n beta[n] P^n for one
// start state at a time, by repeated sparse vector-matrix products e_r P^n.
// Only the states reached so far are touched, and all work arrays are of the
// chain's size and reused from row to row, so memory stays linear in the
// number of states and the work follows the part of the chain a row reaches.
// Tiny entries of e_r P^n are dropped while their sum stays within a budget:
// a mass m dropped changes the Omega row by at most m and the Psi row by at
// most m times the mean firing time, and it keeps diffusive rows from
// dragging their far, negligible fringe through every later step.
#pragma once

#include <cstdint>
#include <vector>

#include "workers/StepWeights.h"
#include "workers/UniformizedChain.h"

class TransientRows {
public:
    TransientRows(const SparseRows& step, const StepWeights& weights, double pruneBudget);

    // Computes the rows of start state r (chain-local index).
    void Compute(std::uint32_t r);

    // After Compute: the states reached, ascending, and their values.
    const std::vector<std::uint32_t>& Reached() const { return reached; }
    double Omega(std::uint32_t k) const { return omega[k]; }
    double Psi(std::uint32_t k) const { return psi[k]; }

private:
    void Reset();

    const SparseRows& step;
    const StepWeights& weights;
    double pruneBudget;
    double pruneThreshold;
    std::vector<double> current, next, omega, psi;
    std::vector<std::uint64_t> mark;  // step stamp when a state joined `next`
    std::vector<char> isReached;
    std::vector<std::uint32_t> currentSupport, nextSupport, reached;
    std::uint64_t stamp = 0;
};
