#include "SparseSystem.h"

#include <gtest/gtest.h>

namespace {

// A random sparse system with a nonzero diagonal and rows of uneven length.
System random_system(int n, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    std::uniform_int_distribution<int> column(1, n);
    System s(n);
    for (int i = 1; i <= n; ++i) {
        std::map<int, double> row{{i, 4.0 + value(random)}};
        for (int t = random() % 5; t > 0; --t) row[column(random)] += value(random);
        s.AddRow(row);
    }
    return s;
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
