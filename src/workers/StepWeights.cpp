// Integrals of the Poisson weights against a firing-time distribution, in
// closed form per piece. A point mass w at d adds w pois(n; rate d). A piece
// c t^k e^(a t) on [lo, hi] (a <= 0) adds, with b = rate - a,
//   c (n+k)! / (n! b^(k+1)) (rate/b)^n P(lo <= G <= hi),  G ~ Erlang(n+k+1, b),
// evaluated through logarithms; every piece stops where a bound on the rest of
// its series (and of that rest's first moment) is below its share of the
// tolerance.
#include "workers/StepWeights.h"

#include <algorithm>
#include <cmath>

#include "workers/PoissonCdf.h"
#include "workers/PoissonWeights.h"

namespace {

// The pieces together may leave out this fraction of epsilon; the cut of the
// assembled series takes the rest.
constexpr double kPieceShare = 1e-4;
// The summed weights must come out within this of 1: a larger gap means the
// distribution text cancels too much for double precision.
constexpr double kSumTolerance = 1e-6;

std::string TooManySteps()
{
    return "the uniformized series needs more than " + std::to_string(kMaxSteps) +
           " steps (rate times firing time too large)";
}

bool Grow(std::vector<double>& alpha, std::size_t last, std::string& error)
{
    if (last > kMaxSteps) {
        error = TooManySteps();
        return false;
    }
    if (alpha.size() <= last) alpha.resize(last + 1, 0.0);
    return true;
}

bool AddPointMass(const PointMass& point, double rate, double tolerance, std::vector<double>& alpha,
                  std::string& error)
{
    if (point.weight == 0.0) return true;
    const double mean = rate * point.at;
    if (!(mean <= static_cast<double>(kMaxSteps))) {
        error = TooManySteps();
        return false;
    }
    const PoissonWeights w = ComputePoissonWeights(mean, std::min(0.5, tolerance / point.weight));
    if (!Grow(alpha, w.right, error)) return false;
    for (std::size_t n = w.left; n <= w.right; ++n) alpha[n] += point.weight * w.Weight(n);
    return true;
}

// The last step a piece must contribute to, the smaller of two bounds on
// the rest of its series. Bounded piece: for t <= hi the count of steps is
// stochastically below Poisson(rate hi), so the rest is at most
// |c| hi^k (hi - lo) times that Poisson tail. Decaying piece (a < 0): its
// terms are below s(n) = |c| (n+k)!/(n! b^(k+1)) rho^n, rho = rate/b < 1,
// whose ratio r(n) = rho (n+k+1)/(n+1) falls with n; once below 1, the rest
// and its first moment are at most s(n) r / (1 - r)^2.
bool LastStep(const DensityPiece& piece, double rate, double tolerance, std::size_t& last,
              std::string& error)
{
    const double k = piece.power;
    const double logC = std::log(std::fabs(piece.coefficient));
    last = kMaxSteps + 1;  // no bound yet
    if (!std::isinf(piece.upper) && rate * piece.upper <= static_cast<double>(kMaxSteps)) {
        const double logScale =
            logC + k * std::log(piece.upper) + std::log(piece.upper - piece.lower);
        const double share = std::exp(std::clamp(std::log(tolerance) - logScale, -575.0, -0.7));
        last = ComputePoissonWeights(rate * piece.upper, share).right;
    }
    if (piece.exponent < 0.0) {
        const double b = rate - piece.exponent;
        const double logRho = std::log(rate / b);
        double logTerm = logC - (k + 1.0) * std::log(b) + std::lgamma(k + 1.0);
        for (std::size_t n = 0; n < last; ++n) {
            const double r = std::exp(logRho) * (n + k + 1.0) / (n + 1.0);
            if (r < 1.0 && logTerm + std::log(r) - 2.0 * std::log1p(-r) <= std::log(tolerance)) {
                last = n;
                break;
            }
            logTerm += logRho + std::log((n + k + 1.0) / (n + 1.0));
        }
    }
    if (last > kMaxSteps) {
        error = TooManySteps();
        return false;
    }
    return true;
}

bool AddPiece(const DensityPiece& piece, double rate, double tolerance, std::vector<double>& alpha,
              std::string& error)
{
    std::size_t last = 0;
    if (!LastStep(piece, rate, tolerance, last, error) || !Grow(alpha, last, error)) return false;
    const double k = piece.power;
    const double b = rate - piece.exponent;
    const double logRho = std::log(rate / b);
    const std::size_t maxOrder = last + static_cast<std::size_t>(piece.power);
    const PoissonCdf atLower(b * piece.lower, maxOrder);
    const PoissonCdf atUpper(b * piece.upper, maxOrder);
    double logPrefactor =
        std::log(std::fabs(piece.coefficient)) - (k + 1.0) * std::log(b) + std::lgamma(k + 1.0);
    for (std::size_t n = 0; n <= last; ++n) {
        const double probability =
            ErlangInterval(atLower, atUpper, n + static_cast<std::size_t>(piece.power));
        if (probability > 0.0)
            alpha[n] += std::copysign(std::exp(logPrefactor), piece.coefficient) * probability;
        logPrefactor += logRho + std::log((n + k + 1.0) / (n + 1.0));
    }
    return true;
}

}  // namespace

bool ComputeStepWeights(const Distribution& distribution, double rate, double epsilon,
                        StepWeights& weights, std::string& error)
{
    const std::size_t parts = distribution.pieces.size() + distribution.points.size();
    const double tolerance = kPieceShare * epsilon / static_cast<double>(parts);
    std::vector<double> alpha;
    for (const PointMass& point : distribution.points)
        if (!AddPointMass(point, rate, tolerance, alpha, error)) return false;
    for (const DensityPiece& piece : distribution.pieces)
        if (!AddPiece(piece, rate, tolerance, alpha, error)) return false;

    // Pieces of both signs may leave tiny negative rounding residues.
    CompensatedSum total;
    for (double& a : alpha) {
        if (a < 0.0) a = 0.0;
        total.Add(a);
    }
    if (!(std::fabs(total.Value() - 1.0) <= kSumTolerance)) {
        error = "the step probabilities of the distribution sum to " +
                std::to_string(total.Value()) +
                " instead of 1: its terms cancel too much for double precision";
        return false;
    }
    for (double& a : alpha) a /= total.Value();

    // tail[n] = P(N > n) and its partial sums from the right; cut at the
    // first n where the neglected firing probability (at most 2 tail[n]) is
    // within epsilon / 2 and the neglected time sum_{j > n} tail[j] / rate is
    // within epsilon / 2 of the mean firing time.
    const std::size_t size = alpha.size();
    std::vector<double> tail(size, 0.0);
    std::vector<double> tailSum(size, 0.0);
    CompensatedSum above;
    CompensatedSum aboveTails;
    for (std::size_t n = size; n-- > 0;) {
        tail[n] = above.Value();
        tailSum[n] = aboveTails.Value();
        above.Add(alpha[n]);
        aboveTails.Add(tail[n]);
    }
    const double meanSteps = rate * Mean(distribution);
    std::size_t steps = 0;
    while (steps + 1 < size &&
           (2.0 * tail[steps] > epsilon / 2.0 || tailSum[steps] > epsilon / 2.0 * meanSteps))
        ++steps;

    weights.rate = rate;
    weights.alpha.assign(alpha.begin(), alpha.begin() + static_cast<std::ptrdiff_t>(steps) + 1);
    weights.beta.resize(steps + 1);
    for (std::size_t n = 0; n <= steps; ++n) weights.beta[n] = tail[n] / rate;
    weights.firingBound = 2.0 * tail[steps];
    weights.sojournBound = tailSum[steps] / rate;
    return true;
}
