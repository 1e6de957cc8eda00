// Reading a run's progress from mosk's output as it arrives in pieces.
#include <gtest/gtest.h>

#include "frontend/ProgressDisplay.h"
#include "frontend/RunProgress.h"

namespace {

using Clock = RunProgress::Clock;

Clock::time_point At(double seconds)
{
    return Clock::time_point(
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds)));
}

TEST(RunProgress, PhasesMarkingsAndTheSolversTrend)
{
    RunProgress progress(1e-10, At(0));
    EXPECT_EQ(DescribeProgress(progress.State(At(0))), "starting mosk");
    progress.Feed("\nparsing transition table ...\nparsing transition table fin", At(0.1));
    EXPECT_EQ(progress.State(At(0.1)).phase, RunPhase::Reading);
    // The spinner: the first character at the first marking, then one per 200.
    progress.Feed("ished !\n\trunning rrg creation ... |\b/", At(1));
    progress.Feed("\b-\b\\\b", At(2));
    EXPECT_EQ(progress.State(At(2)).markings, 600);
    EXPECT_EQ(DescribeProgress(progress.State(At(2))), "generating: 600 markings (600/s)");
    progress.Feed("|\b\n\n------\nrrg size  (markings)          : 58400\n", At(3));
    progress.Feed("\nexamining rrg ... \n", At(3));
    EXPECT_EQ(DescribeProgress(progress.State(At(3))), "examining 58,400 markings");
    progress.Feed("\t solving LGS ...\n\t\t solution with sor ...\n", At(4));
    progress.Feed("\t\t iteration 10 accuracy 0.001\n", At(5));
    progress.Feed("\t\t iteration 20 accuracy 1e-05\n", At(6));
    // Two decades a second, five to go.
    EXPECT_EQ(DescribeProgress(progress.State(At(6))),
              "solving 58,400 markings: iteration 20, accuracy 1.0e-05, ~3 s left");
    progress.Feed("\t solving LGS finished !\n", At(7));
    EXPECT_EQ(progress.State(At(7)).phase, RunPhase::Evaluating);
    progress.Feed("\t solving LGS ...\n\t\t solution with sparse Gaussian-Elimination ...\n",
                  At(8));
    EXPECT_EQ(DescribeProgress(progress.State(At(8))), "solving 58,400 markings by elimination");
}

TEST(RunProgress, CountsOfTheCountingSwitchAndWorkers)
{
    RunProgress progress(1e-10, At(0));
    progress.Feed("\trunning rrg creation ...200...40", At(1));
    progress.Feed("0...", At(1));
    EXPECT_EQ(progress.State(At(1)).markings, 400);
    progress.Feed("\n\n\t starting kiln process execution ...\n", At(2));
    EXPECT_EQ(progress.State(At(2)).phase, RunPhase::Workers);
}

TEST(RunProgress, NumbersAndDurationsForPeople)
{
    EXPECT_EQ(GroupedNumber(1234567), "1,234,567");
    EXPECT_EQ(GroupedNumber(999), "999");
    EXPECT_EQ(RoughDuration(4.2), "5 s");
    EXPECT_EQ(RoughDuration(600), "10 min");
    EXPECT_EQ(ChooseProgressMode(-1, false, true), ProgressMode::Terminal);
    EXPECT_EQ(ChooseProgressMode(-1, false, false), ProgressMode::Off);
    EXPECT_EQ(ChooseProgressMode(-1, true, true), ProgressMode::Off);
    EXPECT_EQ(ChooseProgressMode(1, false, false), ProgressMode::Lines);
    EXPECT_EQ(ChooseProgressMode(0, false, true), ProgressMode::Off);
}

}  // namespace
