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

TEST(SolverReport, ErrorEstimatesFollowTheSolutionKept)
{
    // Under "STOP TEST ERROR": the direct solution's estimate, replaced by
    // the refinement's unless the refinement is thrown away.
    const SolverReport report = Read(
        "\t solving LGS ...\n"
        "\t\t solution with sparse Gaussian-Elimination ...\n"
        "\t\t achieved accuracy:1e-06\n"
        "\t\t estimated relative error: 4e-05\n"
        "\n \t\t iterative refinement of solution with sor ...\n"
        "\t\t iteration: SOR 1.2 BACKWARD, stopped on the estimated relative error\n"
        "\t\t convergence in 42 iterations with accuracy 2e-11.\n"
        "\t\t estimated relative error: 3e-10\n"
        "\t\t estimated error of \\p0: 1e-12 absolute, 2e-12 relative\n"
        "\t\t estimated error of \\S\\none: 3e-14 absolute\n"
        "\t\t estimated error of a: b: 4e-13 absolute, 1e-11 relative\n"
        "\t\t estimated relative error of the measures: 2e-11\n"
        "\t solving LGS ...\n"
        "\t\t solution with sparse Gaussian-Elimination ...\n"
        "\t\t achieved accuracy:1e-06\n"
        "\t\t estimated relative error: 4e-05\n"
        "\n \t\t iterative refinement of solution with sor ...\n"
        "\t\t no convergence within 10 iterations\n"
        "\t\t achieved accuracy: 0.5\n"
        "\t\t estimated relative error: inf\n"
        "\t\t iterative refinement was not succesfull\n"
        "\t solving LGS ...\n\t\t solution with sor ...\n"
        "\t\t convergence in 7 iterations with accuracy 2e-11.\n");
    EXPECT_EQ(*report.Pass(0).errorEstimate, 3e-10);
    EXPECT_EQ(*report.Pass(0).measuresEstimate, 2e-11);
    EXPECT_FALSE(report.Pass(1).measuresEstimate);
    // Each measure's own, in order, by the name as mosk wrote it (the
    // figures follow its last ": ").
    const std::vector<MeasureErrorEstimate>& each = report.Pass(0).measureErrors;
    ASSERT_EQ(each.size(), 3u);
    EXPECT_EQ(each[0].name, "\\p0");
    EXPECT_EQ(each[0].absolute, 1e-12);
    EXPECT_EQ(*each[0].relative, 2e-12);
    EXPECT_EQ(each[1].name, "\\S\\none");
    EXPECT_EQ(each[1].absolute, 3e-14);
    EXPECT_FALSE(each[1].relative);
    EXPECT_EQ(each[2].name, "a: b");
    EXPECT_EQ(*each[2].relative, 1e-11);
    EXPECT_TRUE(report.Pass(1).measureErrors.empty());
    EXPECT_EQ(report.Pass(0).iteration, "SOR 1.2 BACKWARD");
    EXPECT_EQ(MethodUsed(report.Pass(0)), "elimination refined by SOR 1.2 BACKWARD");
    EXPECT_EQ(*report.Pass(1).errorEstimate, 4e-05);
    EXPECT_EQ(MethodUsed(report.Pass(1)), "elimination refined by relaxation");
    EXPECT_FALSE(report.Pass(2).errorEstimate);
    EXPECT_EQ(MethodUsed(report.Pass(2)), "relaxation");
}

}  // namespace
