// The weights that turn powers of the uniformized matrix P = I + Q/rate into
// the two integrals over a firing time T with distribution F:
//   Omega = E[e^(QT)]                = sum_n alpha[n] P^n,
//   Psi   = E[integral_0^T e^(Qt) dt] = sum_n beta[n] P^n,
// with alpha[n] = P(N = n) and beta[n] = P(N > n) / rate for N the number of
// uniformized steps before the firing (Poisson with mean rate * T).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "workers/Distribution.h"

// Longest series the workers compute (memory of its weight arrays).
constexpr std::size_t kMaxSteps = 10'000'000;

struct StepWeights {
    double rate = 0.0;
    std::vector<double> alpha;  // n = 0 .. steps
    std::vector<double> beta;
    // Bounds of what the truncation after `steps` leaves out: of the mass of
    // an Omega row plus the leaving part of its EMC row, and of the sum of a
    // Psi row (a time).
    double firingBound = 0.0;
    double sojournBound = 0.0;

    std::size_t Steps() const { return alpha.size() - 1; }
};

// distribution: checked (mass 1); rate > 0; epsilon in (0, 1). The series is
// cut where the neglected probability is at most epsilon / 2 and the
// neglected sojourn time at most epsilon / 2 times the mean firing time.
bool ComputeStepWeights(const Distribution& distribution, double rate, double epsilon,
                        StepWeights& weights, std::string& error);
