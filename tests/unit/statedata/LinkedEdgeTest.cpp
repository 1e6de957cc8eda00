#include "statedata/LinkedEdge.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "ReportExit.h"

namespace {

struct Node {
    double payload;
};
using Edge = StateTrans<Node>;

Node* At(std::uintptr_t address)
{
    return reinterpret_cast<Node*>(address);
}

// Targets at both ends of the packed range and one from the heap.
const std::uintptr_t kLowest = 8;
const std::uintptr_t kHighest = (std::uintptr_t{1} << 47) - 8;

void ExpectFields(const Edge& e, Node* target, double value, int type, short trans)
{
    EXPECT_EQ(e.Target(), target);
    EXPECT_EQ(e.GetDelayVal(), value);
    EXPECT_EQ(e.GetDelayType(), type);
    EXPECT_EQ(e.GetTransNo(), trans);
    const DelayVal d = e;
    EXPECT_EQ(d.GetDelayVal(), value);
    EXPECT_EQ(d.GetDelayType(), type);
    EXPECT_EQ(d.GetTransNo(), trans);
}

}  // namespace

TEST(StateTrans, RecordIsThreeWords)
{
    EXPECT_EQ(sizeof(Edge), 24u);
}

TEST(StateTrans, EveryFieldSurvivesTheSettersOfTheOthers)
{
    Node heap{0.0};
    for (Node* target : {At(kLowest), At(kHighest), &heap, static_cast<Node*>(nullptr)}) {
        for (short trans : {short(-1), short(0), short(32767), short(-32768)}) {
            for (int type = 0; type < 16; ++type) {
                SCOPED_TRACE(testing::Message() << target << " " << trans << " " << type);
                Edge e(DelayVal(0.75, type, trans), target, nullptr);
                ExpectFields(e, target, 0.75, type, trans);

                e.SetTarget(&heap);
                ExpectFields(e, &heap, 0.75, type, trans);
                e.SetTarget(target);
                e.SetTransNo(short(~trans));
                ExpectFields(e, target, 0.75, type, short(~trans));
                e.SetTransNo(trans);
                e.SetDelayType(15 - type);
                ExpectFields(e, target, 0.75, 15 - type, trans);
                e.SetDelayType(type);
                e.SetDelayVal(2.0);
                ExpectFields(e, target, 2.0, type, trans);

                e.SetDelay(DelayVal(0.5, 15 - type, short(~trans)));
                ExpectFields(e, target, 0.5, 15 - type, short(~trans));
            }
        }
    }
}

TEST(StateTrans, TypeCodesAreCutToFourBitsLikeDelayValues)
{
    Edge e(DelayVal(1.0, kDelayMixed, 3), nullptr, nullptr);
    e.SetDelayType(0x10 | kDelayGeneral);
    EXPECT_EQ(e.GetDelayType(), kDelayGeneral);
    EXPECT_EQ(e.GetTransNo(), 3);
}

TEST(StateTrans, ValuesThatAreNotPositiveBecomeOne)
{
    Edge e(DelayVal(3.0, kDelayExponential, 2), nullptr, nullptr);
    for (double bad : {0.0, -2.0, std::nan("")}) {
        e.SetDelayVal(3.0);
        e.SetDelayVal(bad);
        EXPECT_EQ(e.GetDelayVal(), 1.0) << bad;
    }
}

TEST(StateTrans, ListsAreBuiltAtTheFrontAndFreed)
{
    Node a{1.0}, b{2.0};
    Edge* list = nullptr;
    AddStt(list, a, DelayVal(0.25, kDelayProbability, 7));
    AddStt(list, b, DelayVal(0.75, kDelayProbability, 9));
    ASSERT_NE(list, nullptr);
    ExpectFields(*list, &b, 0.75, kDelayProbability, 9);
    ExpectFields(*list->next, &a, 0.25, kDelayProbability, 7);
    EXPECT_EQ(Edge::pool.Live(), 2u);
    ClearStt(list);
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(Edge::pool.Live(), 0u);
}

TEST(StateTrans, TargetsThatDoNotFitEndTheRun)
{
    const DelayVal d(1.0, kDelayExponential, 1);
    EXPECT_REPORT_EXIT(Edge(d, At(std::uintptr_t{1} << 47), nullptr), -9,
                       "does not fit an edge record");
    EXPECT_REPORT_EXIT(Edge(d, At(kHighest + 4), nullptr), -9, "does not fit an edge record");
}
