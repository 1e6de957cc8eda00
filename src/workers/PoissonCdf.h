// The Poisson distribution function C(m) = P(N <= m) and its complement
// U(m) = P(N > m) of one mean, for all orders m up to a bound, each computed
// from its own small side so that both keep their accuracy in the tails.
// Erlang interval probabilities, the closed-form core of every integral of an
// exponential-polynomial density, are differences of two such functions.
#pragma once

#include <cstddef>
#include <vector>

class PoissonCdf {
public:
    // mean >= 0 (infinity allowed); orders above maxOrder are never asked for.
    PoissonCdf(double mean, std::size_t maxOrder);

    double Lower(std::size_t m) const;  // P(N <= m)
    double Upper(std::size_t m) const;  // P(N > m)

private:
    std::size_t left = 0;           // orders below: Lower = 0 (within 1e-20)
    std::vector<double> lowerSums;  // Lower(left + i)
    std::vector<double> upperSums;  // Upper(left + i)
    bool farAbove = false;          // mean far above maxOrder: Lower = 0 throughout
};

// P(lower <= G <= upper) for G Erlang distributed with m + 1 phases of the
// rate that turned the two bounds into the means of `atLower` and `atUpper`.
double ErlangInterval(const PoissonCdf& atLower, const PoissonCdf& atUpper, std::size_t m);
