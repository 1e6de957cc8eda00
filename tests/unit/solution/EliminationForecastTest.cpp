#include "SparseSystem.h"

#include "solution/EliminationForecast.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr EliminationBudget kNoLimit{1e18, 1e18};

// A random matrix whose every row is strictly diagonally dominant, so that
// the pivot rule keeps the diagonal (the dominance survives each reduction);
// `symmetric` mirrors every off-diagonal entry.
System dominant_system(int n, unsigned seed, bool symmetric)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> value(0.1, 1.0);
    std::uniform_int_distribution<int> column(1, n);
    std::vector<std::map<int, double>> rows(n + 1);
    for (int i = 1; i <= n; ++i)
        for (int t = random() % 4; t > 0; --t) {
            int j = column(random);
            if (j == i) continue;
            rows[i][j] = -value(random);
            if (symmetric) rows[j][i] = -value(random);
        }
    System s(n);
    for (int i = 1; i <= n; ++i) {
        double off = 0.0;
        for (auto [j, v] : rows[i]) off += std::fabs(v);
        rows[i][i] = off + 1.0;
        s.AddRow(rows[i]);
    }
    return s;
}

// A k x k grid of states, each linked both ways to its neighbours.
System grid(int k)
{
    System s(k * k);
    for (int i = 0; i < k; ++i)
        for (int j = 0; j < k; ++j) {
            std::map<int, double> row{{i * k + j + 1, 5.0}};
            if (i > 0) row[(i - 1) * k + j + 1] = -1.0;
            if (i + 1 < k) row[(i + 1) * k + j + 1] = -1.0;
            if (j > 0) row[i * k + j] = -1.0;
            if (j + 1 < k) row[i * k + j + 2] = -1.0;
            s.AddRow(row);
        }
    return s;
}

EliminationForecast forecast(const System& s, int last, const EliminationBudget& budget = kNoLimit)
{
    return forecast_elimination(s.n, s.ia.data(), s.ja.data(), last, budget);
}

// The rows eliminated in the forecast's order: the entries of U stored.
int real_u(System& s, int last, const EliminationForecast& f)
{
    std::vector<int> order(f.order.begin() + 1, f.order.end());
    return s.Solve(last, 0.0, order);
}

TEST(EliminationForecast, OrdersEveryRowOnceWithTheGivenRowLast)
{
    System s = dominant_system(300, 5, false);
    EliminationForecast f = forecast(s, 17);
    ASSERT_TRUE(f.ordered);
    EXPECT_EQ(f.states, 300);
    ASSERT_EQ(f.order.size(), 301u);
    EXPECT_EQ(std::set<int>(f.order.begin() + 1, f.order.end()).size(), 300u);
    EXPECT_EQ(*std::min_element(f.order.begin() + 1, f.order.end()), 1);
    EXPECT_EQ(*std::max_element(f.order.begin() + 1, f.order.end()), 300);
    EXPECT_EQ(f.order.back(), 17);
}

TEST(EliminationForecast, CountsUExactlyForSymmetricPatternsAndBoundsItOtherwise)
{
    for (unsigned seed = 1; seed <= 10; ++seed) {
        System symmetric = dominant_system(200, seed, true);
        EliminationForecast f = forecast(symmetric, 200);
        EXPECT_EQ(real_u(symmetric, 200, f), f.u_entries) << seed;
        EXPECT_LT(symmetric.Residual(200), 1e-12);

        System unsymmetric = dominant_system(200, seed, false);
        f = forecast(unsymmetric, 1);
        int real = real_u(unsymmetric, 1, f);
        EXPECT_GT(real, 0);
        EXPECT_LE(real, f.u_entries) << seed;
    }
    // A grid fills in: the count holds for a real fill, not only a sparse U.
    System g = grid(30);
    EliminationForecast f = forecast(g, 900);
    EXPECT_GT(f.u_entries, 10 * 900);
    EXPECT_EQ(real_u(g, 900, f), f.u_entries);
    EXPECT_GT(f.work, f.u_entries);
}

TEST(EliminationForecast, ChainBeyondTheBudgetIsRefusedAfterAPart)
{
    // 40,000 states: more than the first part looked at.
    System g = grid(200);
    EliminationForecast whole = forecast(g, 1);
    ASSERT_EQ(whole.states, g.n);
    EliminationBudget tight{kNoLimit.u_entries, whole.work / 100};
    EliminationForecast part = forecast(g, 1, tight);
    EXPECT_LT(part.states, g.n);
    EXPECT_GT(part.work, tight.work);
    EXPECT_LE(part.work, whole.work);
    EXPECT_FALSE(part.Within(tight, g.n));
    EXPECT_TRUE(whole.Within(kNoLimit, g.n));

    // Within the budget the whole chain is counted and ordered.
    EliminationForecast fits = forecast(g, 1, EliminationBudget{whole.u_entries, whole.work});
    EXPECT_TRUE(fits.Within(EliminationBudget{whole.u_entries, whole.work}, g.n));
    EXPECT_EQ(fits.order.size(), static_cast<std::size_t>(g.n) + 1);
}

TEST(EliminationForecast, ALineThatFillsNothingInItsOwnOrderIsLookedAtWhole)
{
    // A birth-death line of 40,000 states fills nothing in its own order,
    // so no part can show more than the whole: even a budget it exceeds
    // sees it whole. With the normalisation row moved from the middle to
    // the end, the state before it meets two later states, and the line is
    // looked at in parts again.
    const int n = 40000;
    System line(n);
    for (int i = 1; i <= n; ++i) {
        std::map<int, double> row{{i, -2.0}};
        if (i > 1) row[i - 1] = 1.0;
        if (i < n) row[i + 1] = 1.0;
        line.AddRow(row);
    }
    EliminationBudget tight{100.0, 1e18};
    EliminationForecast whole = forecast(line, n, tight);
    EXPECT_EQ(whole.states, n);
    EXPECT_EQ(whole.u_entries, n - 1);
    EXPECT_FALSE(whole.Within(tight, n));
    EXPECT_LT(forecast(line, n / 2, tight).states, n);
}

TEST(EliminationForecast, DenseChainBeyondItsLeastFillIsRefusedUnordered)
{
    System full(200);
    for (int i = 1; i <= 200; ++i) {
        std::map<int, double> row;
        for (int j = 1; j <= 200; ++j) row[j] = i == j ? 300.0 : -1.0;
        full.AddRow(row);
    }
    EliminationForecast exact = forecast(full, 1);
    EliminationForecast refused = forecast(full, 1, EliminationBudget{1e18, 1.0});
    EXPECT_FALSE(refused.Within(EliminationBudget{1e18, 1.0}, full.n));
    EXPECT_TRUE(refused.order.empty());
    // The figures shown are the least fill: below the count, never above.
    EXPECT_EQ(refused.u_entries, exact.u_entries);
    EXPECT_LE(refused.work, exact.work);
    EXPECT_GT(refused.work, exact.work / 2);
}

}  // namespace
