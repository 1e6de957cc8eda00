// Closed-form moments of exponential-polynomial pieces: polynomial pieces
// integrate directly, decaying ones through Erlang interval probabilities.
#include "workers/Distribution.h"

#include <cmath>

#include "workers/PoissonCdf.h"

Distribution FixedDelay(double delay)
{
    Distribution d;
    d.points.push_back({1.0, delay});
    return d;
}

double PieceValue(const DensityPiece& piece, double x)
{
    if (piece.coefficient == 0.0) return 0.0;
    double logValue = std::log(std::fabs(piece.coefficient)) + piece.exponent * x;
    if (piece.power > 0) {
        if (x <= 0.0) return 0.0;
        logValue += piece.power * std::log(x);
    }
    const double value = std::exp(logValue);
    return piece.coefficient < 0.0 ? -value : value;
}

double PieceMoment(const DensityPiece& piece, int extraPower)
{
    const int k = piece.power + extraPower;
    const double c = piece.coefficient;
    if (piece.exponent == 0.0) {
        // c (upper^(k+1) - lower^(k+1)) / (k + 1), infinite for unbounded pieces
        return c * (std::pow(piece.upper, k + 1) - std::pow(piece.lower, k + 1)) / (k + 1);
    }
    // With b = -a > 0: the integral of x^k e^(-b x) over [lower, upper] is
    // k! / b^(k+1) times P(lower <= G <= upper), G Erlang(k + 1, b).
    const double b = -piece.exponent;
    const auto order = static_cast<std::size_t>(k);
    const PoissonCdf atLower(b * piece.lower, order);
    const PoissonCdf atUpper(b * piece.upper, order);
    const double probability = ErlangInterval(atLower, atUpper, order);
    const double scale =
        std::exp(std::log(std::fabs(c)) + std::lgamma(k + 1.0) - (k + 1.0) * std::log(b));
    return (c < 0.0 ? -scale : scale) * probability;
}

namespace {

double Moment(const Distribution& distribution, int extraPower)
{
    double total = 0.0;
    for (const DensityPiece& piece : distribution.pieces) total += PieceMoment(piece, extraPower);
    for (const PointMass& point : distribution.points)
        total += point.weight * (extraPower == 0 ? 1.0 : point.at);
    return total;
}

}  // namespace

double TotalMass(const Distribution& distribution)
{
    return Moment(distribution, 0);
}

double Mean(const Distribution& distribution)
{
    return Moment(distribution, 1);
}

void ScaleDistribution(Distribution& distribution, double factor)
{
    for (DensityPiece& piece : distribution.pieces) piece.coefficient *= factor;
    for (PointMass& point : distribution.points) point.weight *= factor;
}
