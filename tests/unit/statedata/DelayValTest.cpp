#include "statedata/DelayVal.h"

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
    EXPECT_EQ(DelayVal().GetDelayType(), kDelayUnknown);
}

TEST(DelayVal, EqualityIgnoresTheTransitionNumber)
{
    EXPECT_EQ(DelayVal(0.5, kDelayProbability, 1), DelayVal(0.5, kDelayProbability, 7));
    EXPECT_NE(DelayVal(0.5, kDelayProbability, 1), DelayVal(0.5, kDelayImmediate, 1));
    EXPECT_NE(DelayVal(0.5, kDelayProbability), DelayVal(0.25, kDelayProbability));
}
