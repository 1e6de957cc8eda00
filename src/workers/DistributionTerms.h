// The algebra the distribution parser evaluates into: sums of terms
// c x^k e^(a x) 1[lower, upper](x) and point masses c I[d]. Products
// distribute over sums and like terms are merged after every operation, so a
// text is turned into its expanded form while it is read.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "workers/Distribution.h"

struct Term {
    double coefficient = 1.0;
    int power = 0;
    double exponent = 0.0;
    double lower = -HUGE_VAL;  // indicator bounds; the whole line when absent
    double upper = HUGE_VAL;
    bool isPoint = false;
    double at = 0.0;  // place of a point mass
};
using TermSum = std::vector<Term>;

TermSum ConstantTerm(double c);
TermSum VariableTerm();
TermSum IndicatorTerm(double lower, double upper);
TermSum PointTerm(double at);

// sum += sign * more
bool AddTerms(TermSum& sum, const TermSum& more, double sign, std::string& error);
bool MultiplyTerms(const TermSum& a, const TermSum& b, TermSum& product, std::string& error);
bool PowerOfTerms(const TermSum& base, int power, TermSum& result, std::string& error);
// e^(argument) for an argument linear in x without indicators or point masses.
bool ExponentialOfTerms(const TermSum& argument, TermSum& result, std::string& error);

// The canonical form: densities restricted to x >= 0, growing exponentials on
// bounded intervals expanded into their (positive) power series, unbounded
// parts that do not decay rejected, point masses before time 0 rejected.
bool TermsToDistribution(const TermSum& sum, Distribution& distribution, std::string& error);
