#include "run/RunStatistics.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Shown(std::int32_t seconds)
{
    testing::internal::CaptureStdout();
    ShowTime(seconds);
    return testing::internal::GetCapturedStdout();
}

TEST(ShowTime, SplitsWithoutLeadingZeros)
{
    EXPECT_EQ(Shown(3725), "3725 sec. = 1:2:5 (hour:min:sec)\n");
    EXPECT_EQ(Shown(59), "59 sec. = 0:0:59 (hour:min:sec)\n");
    EXPECT_EQ(Shown(0), "0 sec. = 0:0:0 (hour:min:sec)\n");
    EXPECT_EQ(Shown(90061), "90061 sec. = 25:1:1 (hour:min:sec)\n");
}

TEST(DiffSize, IsWholeKilobytesAndNeverNegative)
{
    std::uint32_t diff = 99;
    DiffSize(4096, 1024, diff);
    EXPECT_EQ(diff, 0u);
    DiffSize(1000, 3047, diff);
    EXPECT_EQ(diff, 1u);
    DiffSize(0, 4294967295u, diff);
    EXPECT_EQ(diff, 4194303u);
}

TEST(ProcSize, GrowsWhenTheProcessTouchesNewPages)
{
    std::uint32_t before = 0, after = 0;
    ProcSize(before);
    std::string big(16 << 20, 'x');
    ProcSize(after);
    EXPECT_GT(after, before);
    EXPECT_EQ(big.back(), 'x');
}

}  // namespace
