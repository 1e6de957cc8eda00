// Validation of a firing-time distribution. The sign of the density is
// checked at sample points: 512 inside every interval between the bounds of
// the pieces, and on the unbounded part at geometrically growing distances,
// where the slowest-decaying term must also be positive.
#include "workers/DistributionCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <utility>

#include "workers/DistributionParser.h"

namespace {

constexpr int kSamplesPerInterval = 512;
// Rounding in sums of terms of both signs: a value this small against the
// sum of the absolute values of the terms counts as zero.
constexpr double kSignTolerance = 1e-9;

std::string Number(double x)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", x);
    return text;
}

bool NegativeAt(const Distribution& d, double x)
{
    double value = 0.0;
    double magnitude = 0.0;
    for (const DensityPiece& piece : d.pieces) {
        if (x < piece.lower || x > piece.upper) continue;
        const double v = PieceValue(piece, x);
        value += v;
        magnitude += std::fabs(v);
    }
    return value < -kSignTolerance * magnitude;
}

// On the unbounded part the term with the slowest decay (largest exponent,
// then largest power) decides the sign for large x.
bool TailTurnsNegative(const Distribution& d)
{
    std::map<std::pair<double, int>, double> byDecay;
    for (const DensityPiece& piece : d.pieces)
        if (std::isinf(piece.upper)) byDecay[{piece.exponent, piece.power}] += piece.coefficient;
    for (auto it = byDecay.rbegin(); it != byDecay.rend(); ++it)
        if (it->second != 0.0) return it->second < 0.0;
    return false;
}

bool FindNegativeDensity(const Distribution& d, double& where)
{
    std::vector<double> bounds{0.0};
    double slowestDecay = 0.0;
    for (const DensityPiece& piece : d.pieces) {
        bounds.push_back(piece.lower);
        if (std::isinf(piece.upper))
            slowestDecay =
                slowestDecay == 0.0 ? -piece.exponent : std::min(slowestDecay, -piece.exponent);
        else
            bounds.push_back(piece.upper);
    }
    std::sort(bounds.begin(), bounds.end());
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
    for (std::size_t i = 0; i + 1 < bounds.size(); ++i) {
        const double width = bounds[i + 1] - bounds[i];
        for (int j = 0; j < kSamplesPerInterval; ++j) {
            where = bounds[i] + width * (j + 0.5) / kSamplesPerInterval;
            if (NegativeAt(d, where)) return true;
        }
    }
    if (slowestDecay == 0.0) return false;
    // From a sixteenth to some thousands of decay lengths past the last bound.
    const double decayLength = 1.0 / slowestDecay;
    for (int j = 0; j < 32; ++j) {
        where = bounds.back() + decayLength * std::exp2((j - 8) / 2.0);
        if (NegativeAt(d, where)) return true;
    }
    where = HUGE_VAL;
    return TailTurnsNegative(d);
}

}  // namespace

bool CheckDistribution(Distribution& distribution, std::string& error)
{
    if (distribution.pieces.empty() && distribution.points.empty()) {
        error = "the distribution is zero everywhere";
        return false;
    }
    for (const PointMass& point : distribution.points) {
        if (point.weight < 0.0) {
            error = "the point mass at " + Number(point.at) + " is negative (" +
                    Number(point.weight) + ")";
            return false;
        }
    }
    double where = 0.0;
    if (FindNegativeDensity(distribution, where)) {
        error = std::isinf(where) ? "the density becomes negative for large x"
                                  : "the density is negative at x = " + Number(where);
        return false;
    }
    const double mass = TotalMass(distribution);
    if (!(std::fabs(mass - 1.0) <= kMassTolerance)) {
        error = "the total mass is " + Number(mass) + ", not 1";
        return false;
    }
    ScaleDistribution(distribution, 1.0 / mass);
    return true;
}

bool LoadDistribution(const std::string& text, Distribution& distribution, std::string& error)
{
    return ParseDistribution(text, distribution, error) && CheckDistribution(distribution, error);
}
