// Term algebra of the distribution language: distribution of products over
// sums, merging of like terms, and the conversion into the canonical form.
#include "workers/DistributionTerms.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

namespace {

// Far more than any sensible distribution needs; keeps powers of long sums
// from exhausting memory.
constexpr std::size_t kMaxTerms = 2000;
// e^(a x) with a x above this is refused: its expansion would need too many
// powers, and the value is beyond any meaningful density.
constexpr double kMaxGrowth = 200.0;

auto Key(const Term& t)
{
    return std::make_tuple(t.isPoint, t.isPoint ? t.at : 0.0, t.power, t.exponent, t.lower,
                           t.upper);
}

bool Normalize(TermSum& sum, std::string& error)
{
    std::sort(sum.begin(), sum.end(), [](const Term& a, const Term& b) { return Key(a) < Key(b); });
    TermSum merged;
    for (const Term& t : sum) {
        if (!merged.empty() && Key(merged.back()) == Key(t))
            merged.back().coefficient += t.coefficient;
        else
            merged.push_back(t);
    }
    std::erase_if(merged, [](const Term& t) { return t.coefficient == 0.0; });
    if (merged.size() > kMaxTerms) {
        error = "the expression expands to more than " + std::to_string(kMaxTerms) + " terms";
        return false;
    }
    sum = std::move(merged);
    return true;
}

std::string Number(double x)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", x);
    return text;
}

// The product of a point mass with a function: the function's value there.
bool PointTimesFunction(const Term& point, const Term& f, Term& product)
{
    if (point.at < f.lower || point.at > f.upper) return false;
    product = point;
    double value = f.coefficient * std::exp(f.exponent * point.at);
    if (f.power > 0) value *= std::pow(point.at, f.power);
    product.coefficient *= value;
    return true;
}

}  // namespace

TermSum ConstantTerm(double c)
{
    Term t;
    t.coefficient = c;
    return c == 0.0 ? TermSum{} : TermSum{t};
}

TermSum VariableTerm()
{
    Term t;
    t.power = 1;
    return {t};
}

TermSum IndicatorTerm(double lower, double upper)
{
    Term t;
    t.lower = lower;
    t.upper = upper;
    return {t};
}

TermSum PointTerm(double at)
{
    Term t;
    t.isPoint = true;
    t.at = at;
    return {t};
}

bool AddTerms(TermSum& sum, const TermSum& more, double sign, std::string& error)
{
    for (Term t : more) {
        t.coefficient *= sign;
        sum.push_back(t);
    }
    return Normalize(sum, error);
}

bool MultiplyTerms(const TermSum& a, const TermSum& b, TermSum& product, std::string& error)
{
    if (a.size() * b.size() > kMaxTerms * kMaxTerms) {
        error = "the expression expands to too many terms";
        return false;
    }
    TermSum result;
    for (const Term& s : a) {
        for (const Term& t : b) {
            Term p;
            if (s.isPoint && t.isPoint) {
                error = "I[" + Number(s.at) + "]*I[" + Number(t.at) +
                        "]: a product of two point masses has no meaning";
                return false;
            }
            if (s.isPoint || t.isPoint) {
                if (!PointTimesFunction(s.isPoint ? s : t, s.isPoint ? t : s, p)) continue;
            } else {
                p.coefficient = s.coefficient * t.coefficient;
                p.power = s.power + t.power;
                p.exponent = s.exponent + t.exponent;
                p.lower = std::max(s.lower, t.lower);
                p.upper = std::min(s.upper, t.upper);
                if (p.lower > p.upper) continue;
            }
            result.push_back(p);
        }
    }
    if (!Normalize(result, error)) return false;
    product = std::move(result);
    return true;
}

bool PowerOfTerms(const TermSum& base, int power, TermSum& result, std::string& error)
{
    TermSum value = ConstantTerm(1.0);
    for (int i = 0; i < power; ++i)
        if (!MultiplyTerms(value, base, value, error)) return false;
    result = std::move(value);
    return true;
}

bool ExponentialOfTerms(const TermSum& argument, TermSum& result, std::string& error)
{
    double constant = 0.0;
    double slope = 0.0;
    for (const Term& t : argument) {
        const bool wholeLine = std::isinf(t.lower) && std::isinf(t.upper);
        if (t.isPoint || !wholeLine || t.exponent != 0.0 || t.power > 1) {
            error =
                "e^(...) needs an argument of the form c*x+d (no powers, R[...], I[...] or "
                "e^(...) inside)";
            return false;
        }
        (t.power == 0 ? constant : slope) += t.coefficient;
    }
    const double factor = std::exp(constant);
    if (std::isinf(factor)) {
        error = "e^(" + Number(constant) + ") is too large";
        return false;
    }
    Term t;
    t.coefficient = factor;
    t.exponent = slope;
    result = factor == 0.0 ? TermSum{} : TermSum{t};
    return true;
}

namespace {

// c x^k e^(a x) with a > 0 on [lower, upper] as the sum over j of
// c a^j / j! x^(k+j); all terms have the sign of c, so nothing cancels.
bool ExpandGrowth(const Term& t, Distribution& distribution, std::string& error)
{
    const double growth = t.exponent * t.upper;
    if (growth > kMaxGrowth) {
        error = "e^(" + Number(t.exponent) + "*x) grows beyond e^" + Number(kMaxGrowth) + " on [" +
                Number(t.lower) + "," + Number(t.upper) + "]";
        return false;
    }
    // Stop when the remaining terms of the series of e^growth, bounded by a
    // geometric series, are below 1e-17 of its sum.
    const double logCoefficient = std::log(std::fabs(t.coefficient));
    for (int j = 0;; ++j) {
        const double logTerm = j * std::log(growth) - std::lgamma(j + 1.0);
        DensityPiece piece;
        piece.coefficient = std::copysign(
            std::exp(logCoefficient + j * std::log(t.exponent) - std::lgamma(j + 1.0)),
            t.coefficient);
        piece.power = t.power + j;
        piece.lower = t.lower;
        piece.upper = t.upper;
        distribution.pieces.push_back(piece);
        const double ratio = growth / (j + 1.0);
        if (ratio < 0.5 && std::exp(logTerm - growth) * ratio / (1.0 - ratio) < 1e-17) return true;
    }
}

}  // namespace

bool TermsToDistribution(const TermSum& sum, Distribution& distribution, std::string& error)
{
    Distribution result;
    for (Term t : sum) {
        if (t.isPoint) {
            if (t.at < 0.0) {
                error = "the point mass I[" + Number(t.at) + "] lies before time 0";
                return false;
            }
            result.points.push_back({t.coefficient, t.at});
            continue;
        }
        // Firing times are never negative: the density counts only for x >= 0.
        t.lower = std::max(t.lower, 0.0);
        if (t.upper <= t.lower) continue;
        if (std::isinf(t.upper) && t.exponent >= 0.0) {
            error =
                "the density does not vanish as x grows: every part without a bound R[a,b] "
                "needs a factor e^(c*x) with c < 0";
            return false;
        }
        if (t.exponent > 0.0) {
            if (!ExpandGrowth(t, result, error)) return false;
            continue;
        }
        result.pieces.push_back({t.coefficient, t.power, t.exponent, t.lower, t.upper});
    }
    distribution = std::move(result);
    return true;
}
