// The smoothed rate is the geometric mean of the step-to-step ratios over the
// window: (c_k / c_{k-m})^(1/m), which a single noisy step cannot pull far.
#include "solution/ErrorEstimate.h"

#include <algorithm>
#include <cmath>
#include <limits>

double ErrorEstimate::RateOver(double change, int span) const
{
    const double infinite = std::numeric_limits<double>::infinity();
    double earlier = history[(steps - span) % (kWindow + 1)];
    // A change without bound in the window (a component that fell to zero)
    // tells no rate.
    return earlier > 0.0 && earlier != infinite ? std::pow(change / earlier, 1.0 / span) : 1.0;
}

double ErrorEstimate::Record(double change)
{
    const double infinite = std::numeric_limits<double>::infinity();
    ++steps;
    history[steps % (kWindow + 1)] = change;
    if (std::isnan(change) || change == infinite) {
        estimate = infinite;
        return estimate;
    }
    if (change == 0.0) {
        estimate = 0.0;  // a fixed point of the iteration
        return estimate;
    }
    if (change <= kNoise) {
        estimate = bounding_rate < 1.0 ? change / (1.0 - bounding_rate) : infinite;
        return estimate;
    }
    int span = std::min(steps - 1, kWindow);
    if (span == 0) {
        estimate = infinite;
        return estimate;
    }
    rate = RateOver(change, span);
    bounding_rate = std::max(rate, RateOver(change, std::max(span / 2, 1)));
    estimate = (steps >= kFirstTrusted && bounding_rate < 1.0) ? change / (1.0 - bounding_rate)
                                                              : infinite;
    return estimate;
}
