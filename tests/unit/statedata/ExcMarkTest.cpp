#include "TestVectors.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ExcMark, EqualAtaMergeInPlaceNewOnesAppend)
{
    ExclusiveCount two(2);
    exc_mark head;
    init_em(head);
    short a[2] = {1, 0};
    short b[2] = {2, 0};
    add_em(head, DelayVal(0.25, kDelayProbability), a);
    add_em(head, DelayVal(0.5, kDelayProbability), b);
    add_em(head, DelayVal(0.125, kDelayProbability), a);
    add_em(head, DelayVal(0.125, kDelayProbability), nullptr);  // null is its own ata

    EXPECT_EQ(head.GetDelayVal(), 0.375);
    EXPECT_NE(head.ata, a);  // a copy
    ASSERT_NE(head.next, nullptr);
    EXPECT_TRUE(ata_eq(head.next->ata, b));
    ASSERT_NE(head.next->next, nullptr);
    EXPECT_EQ(head.next->next->ata, nullptr);
    EXPECT_EQ(head.next->next->next, nullptr);
    clear_em(head);
    EXPECT_EQ(head.used, 0);
    EXPECT_EQ(head.next, nullptr);
}

TEST(ExcMark, LongListsStillMergeAndKeepTheirOrder)
{
    ExclusiveCount one(1);
    exc_mark head;
    init_em(head);
    const int n = 100;
    for (int round = 0; round < 2; ++round)
        for (short k = 1; k <= n; ++k) {
            short ata[1] = {k};
            add_em(head, DelayVal(k, kDelayProbability), ata);
        }
    std::vector<int> order;
    for (exc_mark* e = &head; e; e = e->next) {
        order.push_back(e->ata[0]);
        EXPECT_EQ(e->GetDelayVal(), 2.0 * e->ata[0]);
    }
    ASSERT_EQ(order.size(), static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) EXPECT_EQ(order[k], k + 1);
    clear_em(head);
}

TEST(ExcMarks, BranchesChainWithoutMergingAndTakeOverTheirAta)
{
    ExclusiveCount one(1);
    exc_marks root;
    init_ems(root);
    short* rootAta = make_new_ata(nullptr, 0, 0);
    add_ems(root, DelayVal(1.0, kDelayProbability), rootAta);
    EXPECT_EQ(rootAta, nullptr);  // taken over
    for (short k = 1; k <= 3; ++k) {
        short* ata = make_new_ata(nullptr, 0, 1);  // equal ata: still separate branches
        add_ems(root, DelayVal(k, kDelayProbability), ata);
    }
    std::vector<double> values;
    for (exc_marks* e = root.more; e; e = e->next) values.push_back(e->GetDelayVal());
    EXPECT_EQ(values, (std::vector<double>{1.0, 2.0, 3.0}));

    short* grandchild = make_new_ata(nullptr, 0, 2);
    add_ems(*root.more, DelayVal(0.5, kDelayProbability), grandchild);  // a branch below
    clear_ems(root);  // frees the whole tree
    EXPECT_EQ(root.more, nullptr);
    EXPECT_EQ(root.ata, nullptr);
}
