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

double ErrorEstimate::MeanChange(const History& changes, int ago, int count) const
{
    double logs = 0.0;
    for (int k = ago; k < ago + count; ++k) logs += std::log(changes[(steps - k) % (kWindow + 1)]);
    return std::exp(logs / count);
}

bool ErrorEstimate::DecayHasAFloor(const History& changes) const
{
    // Each point smooths a few steps, as a single step of a damped or an
    // over-relaxed iteration jumps.
    constexpr int kPoint = 5;
    constexpr double kFloorShare = 0.01;
    constexpr double kNoiseFloor = 10.0;
    if (steps <= kWindow) return false;
    double c0 = MeanChange(changes, kWindow - kPoint + 1, kPoint);
    double c1 = MeanChange(changes, kWindow / 2 - kPoint / 2, kPoint);
    double c2 = MeanChange(changes, 0, kPoint);
    double d0 = c0 - c1, d1 = c1 - c2;
    // Only a decay that slows down has a floor; one that hardly moves over
    // the window is read by its rate.
    if (!(d1 > 0.0 && d0 > d1 && c2 > kNoise && c2 < 0.9 * c1)) return false;
    // Rounding puts a floor of its own under the changes, a few times the
    // noise, below which no component can be told from it.
    double floor = c2 - d1 * d1 / (d0 - d1);
    return floor > kFloorShare * c2 && floor > kNoiseFloor * kNoise;
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
    if (test_floors && DecayHasAFloor(history)) estimate = infinite;
    return estimate;
}
