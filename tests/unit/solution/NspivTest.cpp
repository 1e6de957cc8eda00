#include "SparseSystem.h"

#include "solution/EliminationForecast.h"

#include <gtest/gtest.h>

namespace {

// A random sparse system with a nonzero diagonal and rows of uneven length.
// With `dense_tail`, each row also reaches into two of the last
// `dense_tail` columns.
System random_system(int n, unsigned seed, int dense_tail = 0)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    std::uniform_int_distribution<int> column(1, n);
    std::uniform_int_distribution<int> tail_column(n - dense_tail + 1, n);
    System s(n);
    for (int i = 1; i <= n; ++i) {
        std::map<int, double> row{{i, 4.0 + value(random)}};
        for (int t = random() % 5; t > 0; --t) row[column(random)] += value(random);
        for (int t = dense_tail > 0 ? 2 : 0; t > 0; --t) row[tail_column(random)] += value(random);
        s.AddRow(row);
    }
    return s;
}

// The row-by-row scheme written plainly: each row reduced by the rows of U
// in ascending pivot order, pivot on the largest entry (the earliest
// position of equal ones), the rest divided by it; the number of entries of
// U, the column order it ends with and the solution of A x = e_k.
struct RowByRow {
    int entries = 0;
    int dropped = 0;
    std::vector<int> c;
    std::vector<double> x;
};

RowByRow eliminate_row_by_row(const System& s, int k, double droptol,
                              const std::vector<int>& order)
{
    int n = s.n;
    RowByRow result;
    std::vector<int>& c = result.c;
    std::vector<int> ic(n + 1);
    c.assign(n + 1, 0);
    for (int i = 1; i <= n; ++i) c[i] = ic[i] = i;
    std::vector<std::map<int, double>> u(n + 1);
    std::vector<double> y(n + 1);
    for (int step = 1; step <= n; ++step) {
        int i = order[step - 1];
        std::map<int, double> x;
        double rhs = i == k ? 1.0 : 0.0;
        for (int e = s.ia[i - 1]; e < s.ia[i]; ++e) x[s.ja[e]] = s.a[e];
        for (int j = 1; j < step; ++j) {
            auto held = x.find(c[j]);
            if (held == x.end()) continue;
            double factor = -held->second;
            x.erase(held);
            rhs += factor * y[j];
            for (auto [column, value] : u[j]) x[column] += factor * value;
        }
        int pivot = x.begin()->first;
        for (auto [column, value] : x)
            if (std::fabs(value) > std::fabs(x[pivot]) ||
                (std::fabs(value) == std::fabs(x[pivot]) && ic[column] < ic[pivot]))
                pivot = column;
        int displaced = c[step];
        c[ic[pivot]] = displaced;
        ic[displaced] = ic[pivot];
        c[step] = pivot;
        ic[pivot] = step;
        y[step] = rhs / x[pivot];
        for (auto [column, value] : x) {
            if (column == pivot) continue;
            if (std::fabs(value / x[pivot]) < droptol) {
                ++result.dropped;
                continue;
            }
            u[step][column] = value / x[pivot];
            ++result.entries;
        }
    }
    result.x.assign(n + 1, 0.0);
    for (int step = n; step >= 1; --step) {
        for (auto [column, value] : u[step]) y[step] -= value * y[ic[column]];
        result.x[c[step]] = y[step];
    }
    return result;
}

TEST(Nspiv, GroupsOfRowsPivotAndFillAsRowByRow)
{
    // Rows reduced in groups and by runs of U must meet the same pivots and
    // leave the same U as one row after the other, dropped entries too. The
    // rows all reach into the last columns, whose fill grows dense: later
    // rows are reduced by long runs of U, which the dropped entries of a
    // tolerance leave holes in; a hole must neither add a column to a row
    // nor change a value.
    for (unsigned seed = 1; seed <= 12; ++seed) {
        const int n = 150;
        System s = random_system(n, seed, 30);
        std::vector<int> order;
        for (int i = 1; i <= n; ++i) order.push_back(i);
        std::shuffle(order.begin(), order.end(), std::mt19937(seed));
        for (double droptol : {0.0, 0.003, 0.02}) {
            RowByRow expected = eliminate_row_by_row(s, 1, droptol, order);
            EXPECT_EQ(s.Solve(1, droptol, order), expected.entries) << seed;
            EXPECT_EQ(s.dropped, expected.dropped) << seed;
            EXPECT_EQ(s.c, expected.c) << seed;
            double largest = 0.0, error = 0.0;
            for (int i = 1; i <= n; ++i) {
                largest = std::max(largest, std::fabs(expected.x[i]));
                error = std::max(error, std::fabs(s.x[i] - expected.x[i]));
            }
            EXPECT_LT(error, 1e-12 * largest) << seed << " " << droptol;
            if (droptol == 0.0) {
                EXPECT_LT(s.Residual(1), 1e-12) << seed;
            }
        }
    }
}

// The balance equations of an M/M/1/K queue with K = n - 1 and load rho,
// the last replaced by the normalisation (an entry in every column).
System mm1k_balance(int n, double rho)
{
    System s(n);
    for (int i = 1; i < n; ++i) {
        std::map<int, double> row{{i, -rho - (i > 1 ? 1.0 : 0.0)}, {i + 1, 1.0}};
        if (i > 1) row[i - 1] = rho;
        s.AddRow(row);
    }
    std::map<int, double> ones;
    for (int j = 1; j <= n; ++j) ones[j] = 1.0;
    s.AddRow(ones);
    return s;
}

// p_i = rho^i (1 - rho) / (1 - rho^n), i = 1..n
std::vector<double> mm1k_probabilities(int n, double rho)
{
    std::vector<double> exact(n + 1);
    for (int i = 1; i <= n; ++i) exact[i] = std::pow(rho, i - 1) * (1 - rho) / (1 - std::pow(rho, n));
    return exact;
}

TEST(Nspiv, BirthDeathLineMatchesItsClosedForm)
{
    // Balance equations of an M/M/1/K queue with K = n - 1 and rho = 0.8,
    // the last replaced by the normalisation: p_i = rho^i (1 - rho) /
    // (1 - rho^n). Pivoting bounds the error against the largest
    // probability, not against each one (those at the end of the line,
    // down to 1e-78, may lose all their digits), in the line's own order and
    // in the forecast's fill-reducing one; the mean queue length sums the
    // errors of 800 states.
    const int n = 800;
    const double rho = 0.8;
    System s = mm1k_balance(n, rho);
    std::vector<double> exact = mm1k_probabilities(n, rho);
    double mean = rho / (1 - rho) - n * std::pow(rho, n) / (1 - std::pow(rho, n));

    EliminationForecast forecast =
        forecast_elimination(n, s.ia.data(), s.ja.data(), n, EliminationBudget{1e18, 1e18});
    std::vector<int> reduced_fill(forecast.order.begin() + 1, forecast.order.end());
    for (const auto& order : {std::vector<int>{}, reduced_fill}) {
        ASSERT_GT(s.Solve(n, 0.0, order), 0);
        double got_mean = 0.0;
        for (int i = 1; i <= n; ++i) {
            EXPECT_NEAR(s.x[i], exact[i], 1e-12 * exact[1]) << i;
            got_mean += (i - 1) * s.x[i];
        }
        EXPECT_NEAR(got_mean, mean, 1e-10 * mean);
    }
}

TEST(Nspiv, ALongLastRowIsReducedAsInAGroup)
{
    // 70,000 states: the normalisation row, last, is too long for a group
    // and is eliminated on its own; with a drop tolerance the rows of U it
    // is reduced by have holes. The closed form holds either way, to the
    // rounding of a sum over the whole line (70,000 x 2^-53 is 8e-12;
    // 1.2e-11 without fused multiply-adds).
    const int n = 70000;
    const double rho = 0.8;
    System s = mm1k_balance(n, rho);
    std::vector<double> exact = mm1k_probabilities(n, rho);
    ASSERT_GT(s.Solve(n), 0);
    for (int i = 1; i <= n; ++i) ASSERT_NEAR(s.x[i], exact[i], 1e-10 * exact[1]) << i;
    EXPECT_EQ(s.dropped, 0);
    ASSERT_GT(s.Solve(n, 1e-10), 0);
    EXPECT_GT(s.dropped, 0);
    for (int i = 1; i <= n; ++i) ASSERT_NEAR(s.x[i], exact[i], 1e-10 * exact[1]) << i;
}

TEST(Nspiv, AnEntryThatCancelsStaysInU)
{
    // Row 2 reduced by row 1 of U leaves exactly 0.0 in column 2: still an
    // entry of U, or a dropped one under a tolerance.
    System s(3);
    s.AddRow({{1, 2.0}, {2, 1.0}});
    s.AddRow({{1, 2.0}, {2, 1.0}, {3, 1.0}});
    s.AddRow({{2, 1.0}, {3, 1.0}});
    EXPECT_EQ(s.Solve(3), 2);
    EXPECT_LT(s.Residual(3), 1e-15);
    EXPECT_EQ(s.Solve(3, 1e-3), 1);
    EXPECT_EQ(s.dropped, 1);
}

TEST(Nspiv, SolvesRandomSparseSystemsInAnyRowOrder)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        System s = random_system(40, seed);
        std::vector<int> reversed;
        for (int i = 40; i >= 1; --i) reversed.push_back(i);
        for (const auto& order : {std::vector<int>{}, reversed}) {
            int k = 1 + seed % 40;
            EXPECT_GT(s.Solve(k, 0.0, order), 0) << seed;
            EXPECT_LT(s.Residual(k), 1e-12) << seed;
            EXPECT_EQ(s.dropped, 0);
        }
    }
}

TEST(Nspiv, SolvesFullSystemsWhoseRowsOfUShareTheirColumns)
{
    // Every row of U holds all later columns: each row joins the run of the
    // rows before it, and every later row is reduced by whole runs. Values
    // without dominance make the pivots wander off the diagonal.
    std::mt19937 random(11);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    const int n = 50;
    System s(n);
    for (int i = 1; i <= n; ++i) {
        std::map<int, double> row;
        for (int j = 1; j <= n; ++j) row[j] = value(random);
        s.AddRow(row);
    }
    std::vector<int> shuffled;
    for (int i = n; i >= 1; --i) shuffled.push_back(i);
    std::shuffle(shuffled.begin(), shuffled.end(), random);
    EXPECT_EQ(s.Solve(7, 0.0, shuffled), n * (n - 1) / 2);
    EXPECT_LT(s.Residual(7), 1e-12);
    int moved = 0;
    for (int i = 1; i <= n; ++i) moved += s.c[i] != shuffled[i - 1];
    EXPECT_GT(moved, n / 2);
}

TEST(Nspiv, PivotsOnTheLargestEntryOfARow)
{
    // Without column exchanges the first pivot would be the tiny 1e-300.
    System s(2);
    s.AddRow({{1, 1e-300}, {2, 1.0}});
    s.AddRow({{1, 1.0}, {2, 1.0}});
    EXPECT_GT(s.Solve(2), 0);
    EXPECT_EQ(s.c[1], 2);
    EXPECT_LT(s.Residual(2), 1e-15);
}

TEST(Nspiv, DropToleranceTradesAccuracyForFill)
{
    System s = random_system(60, 7);
    s.Solve(3, 0.05);
    EXPECT_GT(s.dropped, 0);
    EXPECT_GT(s.Residual(3), 1e-12);
    EXPECT_LT(s.Residual(3), 1.0);
}

TEST(Nspiv, ErrorCodesNameTheStep)
{
    System empty(2);
    empty.AddRow({{1, 1.0}});
    empty.AddRow({});
    EXPECT_EQ(empty.Solve(1), -2);

    System duplicate(2);
    duplicate.AddRow({{1, 1.0}});
    duplicate.ja.push_back(2);
    duplicate.a.push_back(1.0);
    duplicate.ja.push_back(2);
    duplicate.a.push_back(1.0);
    duplicate.ia.push_back(4);
    EXPECT_EQ(duplicate.Solve(1), -(2 + 2));

    // The second row only repeats the column the first one pivoted on.
    System exhausted(2);
    exhausted.AddRow({{1, 1.0}});
    exhausted.AddRow({{1, 1.0}});
    EXPECT_EQ(exhausted.Solve(1), -(4 + 2));
}

TEST(Nspiv, TheEarliestFailingStepIsReported)
{
    // Step 18 has nothing left to pivot on; step 19's row is empty and
    // step 20's holds a column twice. All three fall in one group of rows.
    const int n = 20;
    System s(n);
    for (int i = 1; i <= 17; ++i) s.AddRow({{i, 1.0}});
    s.AddRow({{17, 1.0}});
    s.AddRow({});
    s.AddRow({{20, 1.0}});
    s.ja.push_back(20);
    s.a.push_back(1.0);
    s.ia.back() += 1;
    EXPECT_EQ(s.Solve(1), -(2 * n + 18));
}

TEST(Nspiv, StorageBeyondTheLimitIsReportedByStep)
{
    System s = random_system(30, 3);
    direct_storage_limit = 1;
    int code = s.Solve(1);
    direct_storage_limit = 0;
    EXPECT_LT(code, -3 * 30);
    EXPECT_GE(code, -4 * 30);
}

TEST(Nspiv, ZeroPivotIsReportedAndPassedOver)
{
    System s(2);
    s.AddRow({{1, 1.0}, {2, 1.0}});
    s.AddRow({{1, 2.0}, {2, 2.0}});
    testing::internal::CaptureStdout();
    EXPECT_GT(s.Solve(1), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Singularity of Matrix detected in row k = 2 (r[k]=2)\n");
}

}  // namespace
