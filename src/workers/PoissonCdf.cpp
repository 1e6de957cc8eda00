// Poisson distribution function from truncated Poisson weights, summed from
// both ends.
#include "workers/PoissonCdf.h"

#include <cmath>

#include "workers/PoissonWeights.h"

namespace {

// Far below the truncation of every sum of the workers, far above underflow.
constexpr double kCdfTolerance = 1e-20;

}  // namespace

PoissonCdf::PoissonCdf(double mean, std::size_t maxOrder)
{
    // With the mean above 4 (m + 100) the Chernoff bound puts P(N <= m) below
    // e^-160: the distribution function is zero for every order asked for.
    if (!(mean <= 4.0 * (static_cast<double>(maxOrder) + 100.0))) {
        farAbove = true;
        return;
    }
    const PoissonWeights w = ComputePoissonWeights(mean, kCdfTolerance);
    left = w.left;
    const std::size_t n = w.weights.size();
    lowerSums.resize(n);
    upperSums.resize(n);
    CompensatedSum below;
    for (std::size_t i = 0; i < n; ++i) {
        below.Add(w.weights[i]);
        lowerSums[i] = below.Value();
    }
    CompensatedSum above;
    for (std::size_t i = n; i-- > 0;) {
        upperSums[i] = above.Value();
        above.Add(w.weights[i]);
    }
}

double PoissonCdf::Lower(std::size_t m) const
{
    if (farAbove || m < left) return 0.0;
    const std::size_t i = m - left;
    return i < lowerSums.size() ? lowerSums[i] : 1.0;
}

double PoissonCdf::Upper(std::size_t m) const
{
    if (farAbove || m < left) return 1.0;
    const std::size_t i = m - left;
    return i < upperSums.size() ? upperSums[i] : 0.0;
}

double ErlangInterval(const PoissonCdf& atLower, const PoissonCdf& atUpper, std::size_t m)
{
    // P(G <= x) = P(N(rate x) > m): the interval holds Lower_lo - Lower_hi,
    // or equally Upper_hi - Upper_lo; take the form whose terms are small.
    const double lowerAtLower = atLower.Lower(m);
    const double probability =
        lowerAtLower < 0.5 ? lowerAtLower - atUpper.Lower(m) : atUpper.Upper(m) - atLower.Upper(m);
    return probability > 0.0 ? probability : 0.0;
}
