#include "statespace/data/SMChain.h"

#include <gtest/gtest.h>

TEST(SMChain, EqualityUsesTransitionSizeAndFirstState)
{
    SMChain a(4), b(4);
    a.SetNoOfStates(3);
    b.SetNoOfStates(3);
    a.SetFirstStateNumber(10);
    b.SetFirstStateNumber(10);
    b.SetNoOfPreemptingArcs(2);
    EXPECT_TRUE(a == b);
    b.SetFirstStateNumber(11);
    EXPECT_TRUE(a != b);
}

TEST(SMChain, DelayComesFromTheFirstMembersDeterministicEdge)
{
    Marking first, second, target;
    first.AddMarking(target, DelayVal(2.5, kDelayDeterministic, 3));
    first.AddMarking(target, DelayVal(1.0, kDelayExponential, 1));
    second.AddMarking(target, DelayVal(9.0, kDelayGeneral, 3));
    SMChain chain(3);
    EXPECT_EQ(chain.GetDetOrGenDelay(), 0.0);
    chain.GetMarkings().Append(&first);
    chain.GetMarkings().Append(&second);
    EXPECT_EQ(chain.GetDetOrGenDelay(), 2.5);

    chain.SetNoOfStates(2);
    chain.Clear();  // members are only referred to
    EXPECT_EQ(chain.GetMarkings().count, 0);
    EXPECT_EQ(chain.GetTransitionRef(), -1);
    EXPECT_EQ(chain.GetNoOfStates(), 0);
    EXPECT_NE(first.GetStt(), nullptr);
}
