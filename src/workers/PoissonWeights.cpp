// Poisson weights from the mode outward (Fox and Glynn's recursion) with
// rigorous geometric tail bounds for the truncation points.
#include "workers/PoissonWeights.h"

#include <algorithm>
#include <cmath>

void CompensatedSum::Add(double x)
{
    const double t = sum + x;
    if (std::fabs(sum) >= std::fabs(x))
        compensation += (sum - t) + x;
    else
        compensation += (x - t) + sum;
    sum = t;
}

PoissonWeights ComputePoissonWeights(double mean, double tolerance)
{
    PoissonWeights result;
    if (mean <= 0.0) {
        result.weights.assign(1, 1.0);
        return result;
    }
    const double half = tolerance / 2.0;
    const auto mode = static_cast<std::size_t>(std::floor(mean));

    // Unnormalised weights relative to w(mode) = 1. The normalising sum is at
    // least 1, so a bound on these tails also bounds the normalised tails.
    // Below the mode w(k-1) = w(k) k / m, and the ratio shrinks further down,
    // so the mass below k is at most w(k) r / (1 - r) with r = k / m.
    std::vector<double> below;
    double w = 1.0;
    std::size_t k = mode;
    while (k > 0) {
        const double ratio = static_cast<double>(k) / mean;
        if (ratio < 1.0 && w * ratio / (1.0 - ratio) <= half) break;
        w *= ratio;
        below.push_back(w);
        --k;
    }
    result.left = k;

    // Above the mode w(k+1) = w(k) m / (k + 1) with r = m / (k + 1) < 1, so
    // the sum of (n - k) w(n) over n > k is at most w(k) r / (1 - r)^2.
    std::vector<double> above;
    w = 1.0;
    k = mode;
    for (;;) {
        const double ratio = mean / static_cast<double>(k + 1);
        if (w * ratio / ((1.0 - ratio) * (1.0 - ratio)) <= half) break;
        w *= ratio;
        above.push_back(w);
        ++k;
    }
    result.right = k;

    result.weights.reserve(below.size() + 1 + above.size());
    result.weights.assign(below.rbegin(), below.rend());
    result.weights.push_back(1.0);
    result.weights.insert(result.weights.end(), above.begin(), above.end());

    // Add the small weights first: the left part from its far end, the right
    // part from its far end, the mode last.
    CompensatedSum total;
    for (std::size_t i = 0; i < below.size(); ++i) total.Add(result.weights[i]);
    for (std::size_t i = result.weights.size(); i-- > below.size();) total.Add(result.weights[i]);
    const double scale = 1.0 / total.Value();
    for (double& x : result.weights) x *= scale;
    return result;
}
