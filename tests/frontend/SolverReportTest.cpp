// The solver's figures per pass, from mosk's output lines.
#include <gtest/gtest.h>

#include <sstream>

#include "frontend/SolverReport.h"

namespace {

SolverReport Read(const std::string& output)
{
    SolverReport report;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) report.Line(line);
    return report;
}

TEST(SolverReport, DirectSolutionRefinedOrKeptPerPass)
{
    const SolverReport report = Read(
        "\t solving LGS ...\n"
        "\t\t solution with sparse Gaussian-Elimination ...\n"
        "\t\t achieved accuracy:3e-17\n"
        "\t solving LGS finished !\n"
        "\t solving LGS ...\n"
        "\t\t solution with sparse Gaussian-Elimination ...\n"
        "\t\t achieved accuracy:1e-05\n"
        "\n \t\t iterative refinement of solution with sor ...\n"
        "\t\t convergence in 42 iterations with accuracy 2e-11.\n"
        "\t solving LGS ...\n"
        "\t\t solution with sparse Gaussian-Elimination ...\n"
        "\t\t achieved accuracy:1e-06\n"
        "\n \t\t iterative refinement of solution with sor ...\n"
        "\t\t *******************************************\n"
        "\t\t no convergence within 10 iterations\n"
        "\t\t achieved accuracy: 0.5\n"
        "\t\t iterative refinement was not succesfull\n"
        "\t\t keeping direct solution\n");
    ASSERT_EQ(report.Passes().size(), 3u);
    EXPECT_EQ(*report.Pass(0).accuracy, 3e-17);
    EXPECT_TRUE(report.Pass(0).direct);
    EXPECT_FALSE(report.Pass(0).iterations);
    EXPECT_EQ(*report.Pass(1).accuracy, 2e-11);
    EXPECT_EQ(*report.Pass(1).iterations, 42);
    EXPECT_TRUE(report.Pass(1).refined);
    EXPECT_EQ(*report.Pass(2).accuracy, 1e-06);
    EXPECT_TRUE(report.Pass(2).converged);
    EXPECT_FALSE(report.Pass(3).accuracy);
}

TEST(SolverReport, IterationWithoutConvergence)
{
    const SolverReport report = Read(
        "\t solving LGS ...\n\t\t solution with sor ...\n"
        "\t\t *******************************************\n"
        "\t\t no convergence within 0 iterations\n\t\t achieved accuracy: 0.25\n");
    EXPECT_FALSE(report.Pass(0).converged);
    EXPECT_EQ(*report.Pass(0).accuracy, 0.25);
    EXPECT_FALSE(report.Pass(0).direct);
}

}  // namespace
