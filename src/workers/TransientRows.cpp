// Uniformization row by row: v_0 = e_r, v_{n+1} = v_n P, with Omega and Psi
// accumulated from the step weights.
#include "workers/TransientRows.h"

#include <algorithm>
#include <cmath>

namespace {

// Values below this are dropped from the propagated vector: they cannot
// matter at any tolerance, and keeping them would only run into the slow
// subnormal range.
constexpr double kNegligible = 1e-280;

}  // namespace

TransientRows::TransientRows(const SparseRows& step, const StepWeights& weights, double pruneBudget)
    : step(step),
      weights(weights),
      pruneBudget(pruneBudget),
      // Small enough that a budget's worth of entries is rarely reached.
      pruneThreshold(pruneBudget / (64.0 * static_cast<double>(weights.Steps() + 1)))
{
    const std::size_t n = step.Rows();
    current.assign(n, 0.0);
    next.assign(n, 0.0);
    omega.assign(n, 0.0);
    psi.assign(n, 0.0);
    mark.assign(n, 0);
    isReached.assign(n, 0);
}

void TransientRows::Reset()
{
    for (std::uint32_t k : reached) {
        omega[k] = 0.0;
        psi[k] = 0.0;
        isReached[k] = 0;
    }
    reached.clear();
}

void TransientRows::Compute(std::uint32_t r)
{
    Reset();
    currentSupport.assign(1, r);
    current[r] = 1.0;
    reached.push_back(r);
    isReached[r] = 1;

    const std::size_t steps = weights.Steps();
    double pruned = 0.0;
    for (std::size_t n = 0;; ++n) {
        const double a = weights.alpha[n];
        const double b = weights.beta[n];
        for (std::uint32_t k : currentSupport) {
            omega[k] += a * current[k];
            psi[k] += b * current[k];
        }
        if (n == steps || currentSupport.empty()) break;

        ++stamp;
        nextSupport.clear();
        for (std::uint32_t k : currentSupport) {
            const double x = current[k];
            current[k] = 0.0;
            if (x < kNegligible) continue;
            if (x < pruneThreshold && pruned + x <= pruneBudget) {
                pruned += x;
                continue;
            }
            for (std::size_t e = step.start[k]; e < step.start[k + 1]; ++e) {
                const std::uint32_t j = step.column[e];
                if (mark[j] != stamp) {
                    mark[j] = stamp;
                    next[j] = 0.0;
                    nextSupport.push_back(j);
                    if (!isReached[j]) {
                        isReached[j] = 1;
                        reached.push_back(j);
                    }
                }
                next[j] += x * step.value[e];
            }
        }
        std::swap(current, next);
        std::swap(currentSupport, nextSupport);
    }
    for (std::uint32_t k : currentSupport) current[k] = 0.0;
    std::sort(reached.begin(), reached.end());
}
