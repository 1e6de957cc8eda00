// The smoothed rate is the geometric mean of the step-to-step ratios over the
// window: (c_k / c_{k-m})^(1/m), which a single noisy step cannot pull far.
#include "solution/ErrorEstimate.h"

#include <algorithm>
#include <cmath>
#include <limits>

double ErrorEstimate::RateOver(const History& changes, double change, int span) const
{
    const double infinite = std::numeric_limits<double>::infinity();
    double earlier = changes[(steps - span) % (kWindow + 1)];
    // A change without bound in the window (a component that fell to zero)
    // tells no rate.
    return earlier > 0.0 && earlier != infinite ? std::pow(change / earlier, 1.0 / span) : 1.0;
}

double ErrorEstimate::SlowerRate(const History& changes, double change, int span) const
{
    return std::max(RateOver(changes, change, span), RateOver(changes, change, std::max(span / 2, 1)));
}

double ErrorEstimate::Record(double change, double moved)
{
    const double infinite = std::numeric_limits<double>::infinity();
    ++steps;
    history[steps % (kWindow + 1)] = change;
    moves[steps % (kWindow + 1)] = moved;
    if (std::isnan(change) || change == infinite) {
        estimate = infinite;
        return estimate;
    }
    if (change == 0.0) {
        estimate = 0.0;  // a fixed point of the iteration
        return estimate;
    }
    int span = std::min(steps - 1, kWindow);
    // The total's rate is read while it is above the noise and its window
    // holds no noise either; the last one read stays in force.
    if (span > 0 && moved > kNoise && moves[(steps - span) % (kWindow + 1)] > kNoise)
        moving_rate = SlowerRate(moves, moved, span);
    if (change <= kNoise) {
        estimate = bounding_rate < 1.0 ? change / (1.0 - bounding_rate) : infinite;
        return estimate;
    }
    if (span == 0) {
        estimate = infinite;
        return estimate;
    }
    rate = RateOver(history, change, span);
    bounding_rate = std::max(SlowerRate(history, change, span), moving_rate);
    estimate = (steps >= kFirstTrusted && bounding_rate < 1.0) ? change / (1.0 - bounding_rate)
                                                              : infinite;
    return estimate;
}
