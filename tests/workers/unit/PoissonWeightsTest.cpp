// Poisson weights against the direct formula, evaluated in long double
// through logarithms (the plain formula underflows from a mean of about 745).
#include "workers/PoissonWeights.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "workers/PoissonCdf.h"

namespace {

long double Direct(double mean, std::size_t n)
{
    const long double m = mean;
    return std::exp(-m + n * std::log(m) - std::lgamma(static_cast<long double>(n) + 1.0L));
}

class PoissonWeightsForMean : public ::testing::TestWithParam<double> {};

TEST_P(PoissonWeightsForMean, MatchDirectFormulaAndBoundTheTails)
{
    const double mean = GetParam();
    const double tolerance = 1e-12;
    const PoissonWeights w = ComputePoissonWeights(mean, tolerance);
    ASSERT_LE(w.left, mean);
    ASSERT_GE(w.right, mean);
    // The range grows like the standard deviation, not like the mean.
    EXPECT_LT(w.right - w.left, 20.0 * std::sqrt(mean) + 40.0);

    long double sum = 0.0L;
    double worst = 0.0;
    for (std::size_t n = w.left; n <= w.right; ++n) {
        const long double exact = Direct(mean, n);
        sum += w.Weight(n);
        if (exact > 1e-200L)
            worst = std::max(worst, static_cast<double>(std::fabs(w.Weight(n) - exact) / exact));
    }
    EXPECT_NEAR(static_cast<double>(sum), 1.0, 1e-14);
    // Relative accuracy limited by the recursion over ~sqrt(mean) steps and
    // by the reference's own exponent of size mean.
    EXPECT_LT(worst, 1e-9) << "mean " << mean;

    long double outside = 0.0L;
    for (std::size_t n = 0; n < w.left; ++n) outside += Direct(mean, n);
    for (std::size_t n = w.right + 1; n < w.right + 10 * (w.right - w.left) + 100; ++n)
        outside += Direct(mean, n);
    EXPECT_LE(static_cast<double>(outside), tolerance);
}

INSTANTIATE_TEST_SUITE_P(SmallAndLargeMeans, PoissonWeightsForMean,
                         ::testing::Values(1e-6, 0.5, 3.0, 30.7, 745.5, 1e4, 1e5, 1e6));

TEST(PoissonWeights, LargeMeansWhereTheNaiveFormulaUnderflows)
{
    ASSERT_EQ(std::exp(-1e4), 0.0);
    const PoissonWeights w = ComputePoissonWeights(1e4, 1e-10);
    // Near the mode the probability is about 1 / sqrt(2 pi mean).
    EXPECT_NEAR(w.Weight(10000), 1.0 / std::sqrt(2.0 * M_PI * 1e4), 1e-6);
    EXPECT_EQ(w.Weight(0), 0.0);
}

TEST(PoissonWeights, ZeroMeanIsAllAtZero)
{
    const PoissonWeights w = ComputePoissonWeights(0.0, 1e-10);
    EXPECT_EQ(w.left, 0u);
    EXPECT_EQ(w.right, 0u);
    EXPECT_EQ(w.Weight(0), 1.0);
}

TEST(PoissonCdf, BothTailsKeepTheirAccuracy)
{
    const double mean = 400.0;
    const std::size_t top = 3000;
    const PoissonCdf cdf(mean, top);
    std::vector<long double> lower(top + 1), upper(top + 1);
    long double sum = 0.0L;
    for (std::size_t m = 0; m <= top; ++m) lower[m] = sum += Direct(mean, m);
    sum = 0.0L;
    for (std::size_t m = top + 1; m-- > 0;) {
        upper[m] = sum;
        sum += Direct(mean, m);
    }
    for (std::size_t m = 0; m <= 1000; ++m) {
        if (lower[m] > 1e-10L && lower[m] < 0.5L) {
            EXPECT_NEAR(cdf.Lower(m) / static_cast<double>(lower[m]), 1.0, 1e-9) << m;
        }
        if (upper[m] > 1e-10L && upper[m] < 0.5L) {
            EXPECT_NEAR(cdf.Upper(m) / static_cast<double>(upper[m]), 1.0, 1e-9) << m;
        }
    }
    EXPECT_EQ(cdf.Lower(2999), 1.0);
    EXPECT_EQ(cdf.Upper(2999), 0.0);
}

}  // namespace
