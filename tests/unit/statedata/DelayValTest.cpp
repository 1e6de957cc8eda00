#include "statespace/data/DelayVal.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(DelayVal, ValuesThatAreNotPositiveBecomeOne)
{
    DelayVal negative(-3.0, kDelayExponential);
    EXPECT_EQ(negative.GetDelayVal(), 1.0);
    EXPECT_EQ(negative.GetDelayType(), kDelayExponential);
    EXPECT_EQ(negative.GetTransNo(), -1);

    DelayVal notANumber(std::nan(""), kDelayGeneral, 4);
    EXPECT_EQ(notANumber.GetDelayVal(), 1.0);
    EXPECT_EQ(notANumber.GetTransNo(), 4);

    DelayVal d(2.5, kDelayDeterministic);
    d.SetDelayVal(0.0);
    EXPECT_EQ(d.GetDelayVal(), 1.0);
    d.SetDelayVal(0.25);
    EXPECT_EQ(d.GetDelayVal(), 0.25);
}

TEST(DelayVal, EqualityIgnoresTheTransitionNumber)
{
    EXPECT_EQ(DelayVal(0.5, kDelayProbability, 1), DelayVal(0.5, kDelayProbability, 7));
    EXPECT_NE(DelayVal(0.5, kDelayProbability, 1), DelayVal(0.5, kDelayImmediate, 1));
    EXPECT_NE(DelayVal(0.5, kDelayProbability), DelayVal(0.25, kDelayProbability));
}

TEST(DelayVal, AssignmentCopiesTransitionAndType)
{
    DelayVal target;
    target = DelayVal(3.0, kDelayMixed, 12);
    EXPECT_EQ(target.GetDelayVal(), 3.0);
    EXPECT_EQ(target.GetDelayType(), kDelayMixed);
    EXPECT_EQ(target.GetTransNo(), 12);
    DelayVal fresh;
    EXPECT_EQ(fresh.GetDelayVal(), 1.0);
    EXPECT_EQ(fresh.GetDelayType(), kDelayUnknown);
}

TEST(DelayVal, TypeNamesCoverEveryCode)
{
    EXPECT_STREQ(DelayTypeName(0), "unknown");
    EXPECT_STREQ(DelayTypeName(3), "preempting");
    EXPECT_STREQ(DelayTypeName(6), "probability");
    EXPECT_STREQ(DelayTypeName(8), "absorbing");
    EXPECT_STREQ(DelayTypeName(9), "unknown");
    EXPECT_STREQ(DelayTypeName(-1), "unknown");
}
