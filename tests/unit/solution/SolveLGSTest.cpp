#include "ChainFixture.h"

#include "solution/Nspiv.h"
#include "solution/Relaxation.h"

#include <cmath>
#include <cstring>

namespace {

// The embedded chain of M/M/1/K with K = 5, lambda = 1, mu = 2: states 1..6
// stand for 0..5 customers.
void write_mm1k(const ChainFixture& f)
{
    const double up = 1.0 / 3.0, down = 2.0 / 3.0;
    f.WriteAux(6);
    f.WriteRows(".EMC00", {{1, {{1.0, 2}}},
                           {2, {{up, 3}, {down, 1}}},
                           {3, {{up, 4}, {down, 2}}},
                           {4, {{up, 5}, {down, 3}}},
                           {5, {{up, 6}, {down, 4}}},
                           {6, {{1.0, 5}}}});
    f.WriteSojournTimes({1.0, 1.0 / 3, 1.0 / 3, 1.0 / 3, 1.0 / 3, 0.5});
}

std::vector<double> mm1k_closed_form()
{
    std::vector<double> pi;
    const double rho = 0.5;
    for (int i = 0; i <= 5; ++i)
        pi.push_back(std::pow(rho, i) * (1 - rho) / (1 - std::pow(rho, 6)));
    return pi;
}

void expect_near(const std::vector<double>& got, const std::vector<double>& want, double tol)
{
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], want[i], tol) << "state " << i + 1;
}

class BothModes : public ChainFixture, public testing::WithParamInterface<const char*> {};

// The birth-death chain against its closed form in both modes is an
// end-to-end case (the M/M/1/K queue, automatic and iterative).
TEST_P(BothModes, SubordinatedChainTimesSpreadOverItsStates)
{
    // State 1 enters the chain {2, 3} at 2, which returns to 1; per entry the
    // process spends 0.5 in state 2 and 1.5 in state 3.
    WriteAux(3);
    WriteRows(".EMC00", {{1, {{1.0, 2}}}});
    WriteRows(".EMC01", {{2, {{1.0, 1}}}, {3, {{1.0, 1}}}});
    WriteSojournTimes({1.0});
    WriteRows(".CONV01", {{2, {{0.5, 2}, {1.5, 3}}}});
    expect_near(Solve(GetParam()), {1.0 / 3, 1.0 / 6, 0.5}, 1e-12);
}

TEST_P(BothModes, FallsBackToRelaxationAtOnceWhenUWouldExceedItsStorage)
{
    write_mm1k(*this);
    WritePlenar("DROPTOLERANCE NONE\n");
    direct_storage_limit = 1;
    std::vector<double> pi = Solve(GetParam(), 100000, 1e-7);
    direct_storage_limit = 0;
    expect_near(pi, mm1k_closed_form(), 1e-6);
    if (std::strcmp(GetParam(), "-a") != 0) return;
    // The forecast sees that U cannot fit: no elimination, no drop-tolerance
    // retries, straight to the relaxation.
    EXPECT_EQ(out.find("retrying solution with drop-tolerance"), std::string::npos) << out;
    EXPECT_EQ(out.find("Gaussian-Elimination"), std::string::npos) << out;
    EXPECT_NE(out.find("\n\t\t not enough memory for direct solution found.\n"
                       "\t\t retry with iterative solution\n\n\t\t solution with sor ...\n"),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Modes, BothModes, testing::Values("-a", "-i"));

using SolveLGSTest = ChainFixture;

TEST_F(SolveLGSTest, SymmetricChainIsSolvedDirectlyWithoutRefinement)
{
    WriteAux(2);
    WriteRows(".EMC00", {{1, {{1.0, 2}}}, {2, {{1.0, 1}}}});
    WriteSojournTimes({1.0, 1.0});
    DEBUG = 1;
    expect_near(Solve("-a"), {0.5, 0.5}, 1e-15);
    DEBUG = 0;
    EXPECT_NE(out.find("\t\t achieved accuracy:0\n"), std::string::npos) << out;
    EXPECT_EQ(out.find("refinement"), std::string::npos) << out;
    EXPECT_EQ(out.find("sor"), std::string::npos) << out;
}

TEST_F(SolveLGSTest, RowsOfOneEntryLeaveNothingToEliminate)
{
    WriteAux(2);
    WriteRows(".EMC00", {{1, {{1.0, 1}}}, {2, {{1.0, 2}}}});
    WriteSojournTimes({1.0, 1.0});
    EXPECT_SOLVER_EXIT(SolveLGS("-a", "net", 100, 1e-7), "\t\t ERROR: zero matrix dimension\n");
}

TEST_F(SolveLGSTest, WithoutIterationsTheStartVectorIsConverted)
{
    write_mm1k(*this);
    std::vector<double> pi = Solve("-i", 0);
    EXPECT_NE(out.find("\t\t solution with sor ...\n"
                       "\t\t *******************************************\n"
                       "\t\t no convergence within 0 iterations\n"
                       "\t\t achieved accuracy: 1\n"
                       "\t\t *******************************************\n"),
              std::string::npos)
        << out;
    double total = 1.0 + 4.0 / 3 + 0.5;
    expect_near(pi,
                {1 / total, 1 / (3 * total), 1 / (3 * total), 1 / (3 * total), 1 / (3 * total),
                 0.5 / total},
                1e-15);
}

TEST_F(SolveLGSTest, SteadyStateFileHoldsTwoMarksAndTheVector)
{
    WriteAux(2);
    WriteRows(".EMC00", {{1, {{1.0, 2}}}, {2, {{1.0, 1}}}});
    WriteSojournTimes({0.5, 0.25});
    Solve("-a");
    std::ifstream file(Path(".PROBMARK"), std::ios::binary);
    std::vector<double> values(5, 7.0);
    file.read(reinterpret_cast<char*>(values.data()), 5 * sizeof(double));
    ASSERT_EQ(file.gcount(), static_cast<std::streamsize>(4 * sizeof(double)));
    EXPECT_EQ(values[0], 0.0);
    EXPECT_TRUE(std::signbit(values[0]));
    EXPECT_EQ(values[1], -1.0);
    EXPECT_NEAR(values[2], 2.0 / 3, 1e-15);
    EXPECT_NEAR(values[3], 1.0 / 3, 1e-15);
}

TEST_F(SolveLGSTest, ZeroSojournTimesCannotBeNormalised)
{
    WriteAux(2);
    WriteRows(".EMC00", {{1, {{1.0, 2}}}, {2, {{1.0, 1}}}});
    WriteSojournTimes({0.0, 0.0});
    EXPECT_SOLVER_EXIT(SolveLGS("-i", "net", 100, 1e-7),
                       "SolveLGS: division by zero in function renormal\\(\\)");
}

// The line that reports the relaxation's convergence, or the whole output
// when there is none.
std::string ConvergenceLine(const std::string& text)
{
    std::size_t at = text.find("convergence in");
    return at == std::string::npos ? text : text.substr(at, text.find('\n', at) - at);
}

TEST_F(SolveLGSTest, RelaxationGivesTheSameVectorWhetherTheMatricesAreListedOrNot)
{
    // Separate edges to one target: the last row of A (the edges into state
    // 3) is longer than the chain, so scaling the rows before it in place
    // overwrites part of it. The relaxation scales the matrix over its own
    // rows unless the matrices are listed: both ways must give the same
    // vector and the same residuals.
    WriteAux(3);
    WriteRows(".EMC00", {{1, {{0.25, 3}, {0.25, 2}, {0.25, 3}, {0.25, 2}}},
                         {2, {{0.5, 3}, {0.5, 3}}},
                         {3, {{1.0, 1}}}});
    WriteSojournTimes({1.0, 1.0, 1.0});
    DEBUG = 1;
    std::vector<double> plain = Solve("-i");
    std::string plain_end = ConvergenceLine(out);
    SHOW_LGS = 1;
    std::vector<double> listed = Solve("-i");
    SHOW_LGS = 0;
    DEBUG = 0;
    expect_near(plain, {0.4, 0.2, 0.4}, 1e-9);
    EXPECT_EQ(plain, listed);
    EXPECT_EQ(plain_end, ConvergenceLine(out));
}

TEST_F(SolveLGSTest, TwoThreadsSweepToTheVectorAndResidualsOfOne)
{
    // An irregular chain: each state moves to up to four others with uneven
    // probabilities, so that the two halves of the rows differ in length.
    const std::uint32_t n = 3000;
    std::vector<ChainRow> rows;
    std::vector<double> times;
    TestRandom random{12345};
    auto next = [&random](std::uint32_t range) { return random.Next(range); };
    for (std::uint32_t i = 1; i <= n; ++i) {
        ChainRow row{i, {}};
        std::uint32_t targets = 1 + next(4);
        double left = 1.0;
        for (std::uint32_t k = 1; k <= targets; ++k) {
            double p = k == targets ? left : left * (0.2 + 0.6 * next(100) / 100.0);
            left -= p;
            row.entries.push_back({p, k == 1 ? i % n + 1 : 1 + next(n)});
        }
        rows.push_back(row);
        times.push_back(0.5 + next(10));
    }
    WriteAux(n);
    WriteRows(".EMC00", rows);
    WriteSojournTimes(times);
    DEBUG = 1;
    int saved = relaxation_split_entries;
    relaxation_split_entries = 1 << 30;
    std::vector<double> one = Solve("-i", 100000, 1e-10);
    std::string one_end = ConvergenceLine(out);
    relaxation_split_entries = 0;
    std::vector<double> two = Solve("-i", 100000, 1e-10);
    relaxation_split_entries = saved;
    DEBUG = 0;
    EXPECT_EQ(one, two);
    EXPECT_EQ(one_end, ConvergenceLine(out));
    EXPECT_NE(one_end.find("convergence in"), std::string::npos) << one_end;
}

}  // namespace
