#include "run/ListingsRRGParams.h"
#include "run/RunStatistics.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kFrame(63, '-');
const std::string kRemark =
    "\nMARK : You are not working with a Linux operating system !\n"
    "The real used size may be less than the showed size above.\n"
    "The showed size corresponds to the size of the used pages.\n\n";

std::string Shown(int mode)
{
    rrg_diff_size = 1234;
    rrg_diff_time = 3725;
    all_diff_time = 59;
    testing::internal::CaptureStdout();
    ShowRRGParams(mode);
    return testing::internal::GetCapturedStdout();
}

TEST(ShowRRGParams, AfterGenerationSizeAndTime)
{
    EXPECT_EQ(Shown(0), "\n\n" + kFrame +
                            "\nrrg size  (markings)          : 0\n"
                            "rrg size  (KB)                : 1234\n"
                            "used time                     : 3725 sec. = 1:2:5 (hour:min:sec)\n" +
                            kRemark + kFrame + "\n\n");
}

TEST(ShowRRGParams, AtTheEndSizeOrTimes)
{
    EXPECT_EQ(Shown(1), "\n" + kFrame +
                            "\nrrg size  (markings)          : 0\n"
                            "rrg size  (KB)                : 1234\n" +
                            kRemark + kFrame + "\n");
    EXPECT_EQ(Shown(2), "\n" + kFrame +
                            "\nused time for rrg creation    : 3725 sec. = 1:2:5 (hour:min:sec)\n"
                            "used time for whole programm  : 59 sec. = 0:0:59 (hour:min:sec)\n" +
                            kFrame + "\n");
    EXPECT_EQ(Shown(3), "");
}

}  // namespace
