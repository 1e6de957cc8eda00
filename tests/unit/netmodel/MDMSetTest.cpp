#include "netmodel/MDMSet.h"
#include "statedata/Marking.h"
#include "statedata/PendingMarking.h"
#include "statedata/NetCounts.h"
#include "statedata/TNos.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<short> TransitionsOf(MDMSet* e)
{
    std::vector<short> out;
    for (short_list* l = e->GetTransitions(); l; l = l->next) out.push_back(l->value);
    return out;
}

}  // namespace

TEST(PendingSuccessors, EntriesLeaveInArrivalOrder)
{
    Marking source;
    MDMSetList queue;
    std::vector<PendingMarking*> added, left;
    for (short t = 1; t <= 3; ++t) {
        added.push_back(new PendingMarking);
        queue.AddSet(&source, added.back(), DelayVal(1.0, kDelayExponential, t), new TNos);
    }
    added.push_back(new PendingMarking);
    queue.AddNewSet(&source, added.back(), DelayVal(2.0, kDelayExponential, 4));
    while (!queue.IsEmpty()) {
        MDMSet* head = queue.GetFirst();
        EXPECT_EQ(head->GetLastMarking(), &source);
        EXPECT_EQ(TransitionsOf(head), (std::vector<short>{head->GetDelay().GetTransNo()}));
        left.push_back(head->GetNewMarking());
        queue.DelFirstSet();
    }
    EXPECT_EQ(left, added);
    EXPECT_EQ(queue.GetLast(), nullptr);
}

TEST(PendingSuccessors, RemovingTheOnlyOrNoEntryLeavesAnEmptyQueue)
{
    Marking source;
    MDMSetList queue(&source, new PendingMarking, DelayVal(), nullptr);
    queue.DelFirstSet();
    EXPECT_EQ(queue.GetFirst(), nullptr);
    EXPECT_EQ(queue.GetLast(), nullptr);
    queue.DelFirstSet();
    EXPECT_TRUE(queue.IsEmpty());
    queue.AddNewSet(&source, new PendingMarking, DelayVal());
    EXPECT_EQ(queue.GetFirst(), queue.GetLast());
}

TEST(PendingSuccessors, ClearingALongQueueReleasesEveryEntry)
{
    Marking source;
    MDMSetList queue;
    for (int i = 0; i < 200000; ++i) queue.AddNewSet(&source, new PendingMarking, DelayVal());
    queue.Clear();
    EXPECT_TRUE(queue.IsEmpty());
}
