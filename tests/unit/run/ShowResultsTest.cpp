#include "foundation/RunState.h"
#include "run/ShowResults.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kDashes(63, '-');

class ShowResultsTest : public testing::Test {
protected:
    void SetUp() override
    {
        ModelD = dir.path.c_str();
        netname = "m";
    }
    std::string Shown()
    {
        testing::internal::CaptureStdout();
        ShowResults();
        return testing::internal::GetCapturedStdout();
    }
    TempDir dir;
};

TEST_F(ShowResultsTest, CopiesTheFileInsideTheFrame)
{
    dir.Write("m.RESULTS", "p 0.5\n*#END#*\n");
    EXPECT_EQ(Shown(), "\n\n" + kDashes + "\nstart ->->->->->->->-> RESULTS\n\np 0.5\n*#END#*\n" +
                           "\nstop  ->->->->->->->-> RESULTS\n" + kDashes + "\n");
}

TEST_F(ShowResultsTest, AnEmptyFileKeepsTheFrameWhole)
{
    dir.Write("m.RESULTS", "");
    EXPECT_NE(Shown().find("stop  ->->->->->->->-> RESULTS\n" + kDashes), std::string::npos);
}

}  // namespace
