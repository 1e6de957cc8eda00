// Poisson probabilities p(n) = e^-m m^n / n! over the range [left, right] that
// holds all but a given tolerance of the mass, for any mean m. The weights are
// built outward from the mode by the ratio recursion of Fox and Glynn
// ("Computing Poisson probabilities", CACM 31(4), 1988), so nothing underflows
// even where e^-m does; the truncation points are placed where a geometric
// bound on the remaining tail falls below the tolerance.
#pragma once

#include <cstddef>
#include <vector>

struct PoissonWeights {
    std::size_t left = 0;
    std::size_t right = 0;
    std::vector<double> weights;  // weights[i] = p(left + i); they sum to 1

    double Weight(std::size_t n) const { return n < left || n > right ? 0.0 : weights[n - left]; }
};

// mean: finite and >= 0; tolerance: in (0, 1). Both the mass below `left` and
// the sum over n > right of (n - right) p(n) are at most tolerance / 2; the
// second also bounds the mass above `right` and the first moment beyond it.
PoissonWeights ComputePoissonWeights(double mean, double tolerance);

// Sum of positive terms with compensation for the rounding of each addition
// (Neumaier's variant of Kahan summation).
class CompensatedSum {
public:
    void Add(double x);
    double Value() const { return sum + compensation; }

private:
    double sum = 0.0;
    double compensation = 0.0;
};
