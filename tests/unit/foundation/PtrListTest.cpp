#include "foundation/PtrList.h"

#include <gtest/gtest.h>

namespace {

// An item that records its destruction, to tell soft from hard clearing.
struct Probe {
    explicit Probe(int v, int* alive = nullptr) : value(v), alive(alive)
    {
        if (alive) ++*alive;
    }
    ~Probe()
    {
        if (alive) --*alive;
    }
    void Clear() {}
    bool operator==(const Probe& o) const { return value == o.value; }
    int value;
    int* alive;
};

TEST(PtrList, UniqueAppendReportsPositionOfDuplicate)
{
    Probe a(1), b(2), c(3), again(2), fresh(4);
    PtrList<Probe> list;
    list.Append(&a);
    list.Append(&b);
    list.Append(&c);
    EXPECT_EQ(list.UAppend(&again), -2);
    EXPECT_EQ(list.count, 3);
    EXPECT_EQ(list.UAppend(&fresh), 4);
    EXPECT_EQ(list.GetPos(&fresh), 4);
}

TEST(PtrList, PositionsOutsideTheListGiveNothing)
{
    Probe a(1), absent(9);
    PtrList<Probe> list;
    EXPECT_EQ(list.GetLE(1), nullptr);
    list.Append(&a);
    EXPECT_EQ(list.GetLE(0), nullptr);
    EXPECT_EQ(list.GetLE(2), nullptr);
    EXPECT_EQ(list.GetLE(1), &a);
    EXPECT_EQ(list.GetPos(&absent), -1);
    EXPECT_EQ(list.IsIn(&absent), 0);
    list.DelSoft(0);
    list.DelSoft(-1);
    list.DelSoft(2);
    EXPECT_EQ(list.count, 1);
}

TEST(PtrList, DeletionKeepsHeadTailAndCountConsistent)
{
    Probe a(1), b(2), c(3), d(4);
    PtrList<Probe> one(&a);
    one.DelSoft(1);
    EXPECT_EQ(one.count, 0);
    EXPECT_EQ(one.first, nullptr);
    EXPECT_EQ(one.last, nullptr);
    one.Append(&b);
    EXPECT_EQ(one.count, 1);
    EXPECT_EQ(one.first, one.last);

    PtrList<Probe> three;
    three.Append(&a);
    three.Append(&b);
    three.Append(&c);
    three.DelSoft(3);
    three.Append(&d);
    EXPECT_EQ(three.count, 3);
    EXPECT_EQ(three.GetLE(3), &d);
    EXPECT_EQ(three.last->item, &d);
    EXPECT_EQ(three.last->next, nullptr);
}

TEST(PtrList, EqualityIgnoresOrderAndMultiplicity)
{
    Probe a(1), b(2), c(3);
    PtrList<Probe> left, right, shorter, longer;
    left.Append(&a);
    left.Append(&a);
    left.Append(&b);
    right.Append(&a);
    right.Append(&b);
    right.Append(&b);
    EXPECT_TRUE(left == right);
    shorter.Append(&a);
    shorter.Append(&b);
    longer.Append(&a);
    longer.Append(&b);
    longer.Append(&c);
    EXPECT_TRUE(shorter != longer);
    EXPECT_TRUE(PtrList<Probe>() == PtrList<Probe>());
}

TEST(PtrList, SoftClearSparesItemsHardClearDestroysThem)
{
    int alive = 0;
    PtrList<Probe> list;
    list.Append(new Probe(1, &alive));
    list.Append(new Probe(2, &alive));
    PtrList<Probe> copy(list);
    EXPECT_EQ(copy.GetLE(1), list.GetLE(1));
    copy.GetLE(1)->value = 7;
    EXPECT_EQ(list.GetLE(1)->value, 7);
    copy.SoftClear();
    EXPECT_EQ(alive, 2);
    EXPECT_EQ(list.GetLE(2)->value, 2);
    list.HardClear();
    EXPECT_EQ(alive, 0);
    EXPECT_EQ(list.count, 0);
}

}  // namespace
