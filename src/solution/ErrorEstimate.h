// An estimate of the relative error of an iterate that bounds the error of
// the probabilities rather than a residual that shrinks with their size: the
// largest relative change the last step made to any probability, divided by
// one minus the rate at which these changes shrink. For an iteration that
// converges linearly with rate rho the remaining error is the sum of all
// later changes, change * rho / (1 - rho); the rate is smoothed over the last
// fifty steps because single steps of a damped or Krylov iteration jump.
// The extrapolation takes the slower of that rate and the one over the
// recent half of the window: a run that starts from a good solution (a
// refinement after elimination) first loses its fast components, and the
// rate over all its steps would promise more than its last steps keep.
// It also takes the rate of the step's total change (the sum of |change| of
// all probabilities): the largest relative change lives in the smallest
// probabilities, where the fast components are, and may shrink at 0.92 a
// sweep while the mass moving between large groups of states shrinks at
// 0.995 (the bench's coloured net with N=6, whose real error was 10 times
// the estimate that way).
// No rate read from the changes covers a component that hardly shrinks at
// all while faster ones still dominate: on a nearly decomposable chain the
// mass moving between weakly coupled parts changes by a 1e-5 of its error
// a sweep, a tenth of the step's change, and the extrapolation with the
// fast rate claimed 1e-6 where the error was 1e-3. Such a component shows
// as a floor under the decay: the changes, a fast geometric decay on top of
// a nearly constant part, are fitted at three points of the window (Aitken's
// extrapolation gives the constant part), and while that part is above a
// hundredth of the change the estimate is infinite: its rate cannot be read
// until the faster components have died away and the changes shrink at it.
#pragma once

#include <array>

// Probabilities below this share of the largest one are left out of every
// relative measure of error (changes, imbalances): a sum of doubles carries
// about 1e-16 of its largest term, so such a probability has no relative
// accuracy to speak of, and a long chain whose tail falls to 1e-40 would
// otherwise be judged by its rounding noise. Their absolute error stays
// below this share of the largest probability.
constexpr double kNegligibleShare = 1e-15;

class ErrorEstimate {
public:
    // Changes below this are rounding noise: they neither tell a rate nor
    // shrink further, and the estimate keeps the last rate seen above it.
    static constexpr double kNoise = 1e-14;
    // Steps before which a rate is not trusted (unless the change is noise).
    static constexpr int kFirstTrusted = 10;
    static constexpr int kWindow = 50;

    // Records the largest relative change of the step just made and the
    // total of its changes (the iterate summing to 1), and returns the error
    // estimate (infinity while no rate below 1 is known).
    double Record(double change, double moved);

    // After convergence: further steps only measure the error, and a floor
    // seen in them (rounding, on a chain converged far down) withdraws no
    // estimate.
    void StopTestingFloors() { test_floors = false; }

    double Estimate() const { return estimate; }
    double Rate() const { return rate; }
    double BoundingRate() const { return bounding_rate; }
    int Steps() const { return steps; }

private:
    using History = std::array<double, kWindow + 1>;  // the last changes, a ring

    // The geometric mean of the step-to-step ratios of the last `span` steps.
    double RateOver(const History& changes, double change, int span) const;
    // The slower of the rates over the window and over its recent half.
    double SlowerRate(const History& changes, double change, int span) const;
    // Whether the changes of a full window decay onto a nearly constant part.
    bool DecayHasAFloor(const History& changes) const;
    // The geometric mean of the changes of `count` steps up to `ago` steps back.
    double MeanChange(const History& changes, int ago, int count) const;

    History history{};
    History moves{};  // the totals of the last changes
    int steps = 0;
    double rate = 0.0;
    double estimate = 0.0;
    double bounding_rate = 0.0;  // the rate the estimate extrapolates with
    double moving_rate = 0.0;    // the total's, while above the noise
    bool test_floors = true;
};
