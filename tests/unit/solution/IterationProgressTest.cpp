// The relaxation's progress lines: only with a "SOLVER PROGRESS" line in
// .Plenar, and then with the iteration and the residual reached.
#include "solution/IterationProgress.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace {

TEST(IterationProgress, TheIntervalComesFromItsOwnLineOnly)
{
    EXPECT_EQ(SolverProgressInterval("HOSTLISTSTART\nh\nHOSTLISTEND\nSOLVER PROGRESS 0.5\n"), 0.5);
    EXPECT_EQ(SolverProgressInterval("HOSTLISTSTART\nh\nHOSTLISTEND\n"), 0.0);
    for (const char* refused : {"SOLVER PROGRESS\n", "SOLVER PROGRESS x\n", "SOLVER PROGRESS -1\n",
                                "SOLVER PROGRESS inf\n", "# SOLVER PROGRESS 1\n"})
        EXPECT_EQ(SolverProgressInterval(refused), 0.0) << refused;
}

TEST(IterationProgress, ALineAfterEachIntervalAndNoneWithoutOne)
{
    testing::internal::CaptureStdout();
    IterationProgress quiet(0.0);
    quiet.Iteration(1, 0.5);
    IterationProgress shown(0.2);
    shown.Iteration(1, 0.5);  // starts the clock
    shown.Iteration(2, 0.25);
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    shown.Iteration(3, 0.125);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\t\t iteration 3 accuracy 0.125\n");
}

}  // namespace
