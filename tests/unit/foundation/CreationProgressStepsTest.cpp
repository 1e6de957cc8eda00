// The schedule of the creation's progress display: unchanged for graphs a
// minute of creation makes, bounded for any graph.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "foundation/CreationProgressSteps.h"

using creation_progress::NextShow;

TEST(CreationProgressSteps, EveryTwoHundredMarkingsUpToEightMillion)
{
    std::uint32_t shown = creation_progress::kFirstShow;
    for (; shown < 8388608; shown = NextShow(shown)) ASSERT_EQ(NextShow(shown) - shown, 200u);
    // The first show at or past 2^23 = 8,388,608 is 8,388,800; from there the
    // steps are 800 until 2^24 and 3,200 until 2^25.
    EXPECT_EQ(shown, 8388800u);
    EXPECT_EQ(NextShow(shown), 8389600u);
    EXPECT_EQ(NextShow(16777216 - 100), 16777216u + 700);
    EXPECT_EQ(NextShow(16777216), 16777216u + 3200);
}

TEST(CreationProgressSteps, FewerThanSixtyThreeThousandShowsForAnyCount)
{
    constexpr std::uint32_t kLargest = std::numeric_limits<std::uint32_t>::max();
    long shows = 1;
    for (std::uint32_t shown = creation_progress::kFirstShow; shown != kLargest; ++shows) {
        std::uint32_t next = NextShow(shown);
        ASSERT_GT(next, shown);  // never wraps round to show again
        shown = next;
    }
    EXPECT_LT(shows, 63000);
    EXPECT_EQ(NextShow(kLargest), kLargest);
}
