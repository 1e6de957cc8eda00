// A firing-time distribution in the form the workers compute with: a sum of
// density pieces c x^k e^(a x) on [lower, upper] and of point masses. In a
// checked distribution every piece has lower >= 0 and a <= 0 (a < 0 when the
// piece is unbounded), every point lies at a time >= 0, and the total mass is 1.
#pragma once

#include <vector>

struct DensityPiece {
    double coefficient = 0.0;  // c
    int power = 0;             // k >= 0
    double exponent = 0.0;     // a
    double lower = 0.0;
    double upper = 0.0;  // may be +infinity
};

struct PointMass {
    double weight = 0.0;
    double at = 0.0;
};

struct Distribution {
    std::vector<DensityPiece> pieces;
    std::vector<PointMass> points;
};

// The distribution of a delay that is always exactly `delay`.
Distribution FixedDelay(double delay);

// Value of one piece at x inside its interval; evaluated through logarithms
// so that high powers and large exponents do not overflow on the way.
double PieceValue(const DensityPiece& piece, double x);

// The integral of x^extraPower times the piece over its interval, in closed
// form (extraPower 0: its mass, 1: its contribution to the mean). Needs
// a <= 0; an unbounded piece with a = 0 has an infinite moment.
double PieceMoment(const DensityPiece& piece, int extraPower);

double TotalMass(const Distribution& distribution);
double Mean(const Distribution& distribution);
void ScaleDistribution(Distribution& distribution, double factor);
