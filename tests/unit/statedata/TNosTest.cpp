#include "statedata/NetCounts.h"
#include "statedata/TDep.h"
#include "statedata/TDepLst.h"
#include "statedata/TNos.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Binding pointers are only stored, never followed: fake addresses suffice.
Binding* Fake(int i)
{
    return reinterpret_cast<Binding*>(static_cast<intptr_t>(i) * 16);
}

std::vector<Binding*> Listed(const BindingList* l)
{
    std::vector<Binding*> out;
    if (l)
        for (Binding* b : *l) out.push_back(b);
    return out;
}

class TNosTest : public testing::Test {
protected:
    void SetUp() override
    {
        no_of_imm_transitions = 2;
        no_of_exc_transitions = 3;
        no_of_inf_transitions = 1;
    }
    void TearDown() override
    {
        no_of_imm_transitions = no_of_exc_transitions = no_of_inf_transitions = 0;
    }
};

}  // namespace

TEST_F(TNosTest, FirstBindingLeadsLaterOnesFollowItNewestFirst)
{
    TNos set;
    for (int i = 1; i <= 4; ++i) set.AddImmBind(Fake(i), 1);
    EXPECT_EQ(Listed(set.imm_binds[1]),
              (std::vector<Binding*>{Fake(1), Fake(4), Fake(3), Fake(2)}));
    EXPECT_EQ(set.imm_binds[0], nullptr);
    set.AddImmBind(Fake(9), 2);  // outside the class: ignored
    set.AddInfBind(Fake(5), 0);
    EXPECT_EQ(Listed(set.inf_binds[0]), (std::vector<Binding*>{Fake(5)}));
    set.DelImmBind(1);
    EXPECT_EQ(set.imm_binds[1], nullptr);
}

TEST_F(TNosTest, DependenciesMarkTheirTransitionsUnknown)
{
    TDepLst list;
    list.AddImm(1);
    list.AddExc(2);
    list.AddExc(0);
    list.AddExc(2);  // already there
    EXPECT_EQ(list.exc_no, 2);
    TDep dep(list);
    ASSERT_EQ(dep.exc_no, 2);
    EXPECT_EQ(dep.exc[0], 2);
    EXPECT_EQ(dep.exc[1], 0);
    EXPECT_EQ(dep.inf_no, 0);

    TNos set;
    set.imm[0] = set.imm[1] = 1;
    set.exc[1] = 1;
    set.inf[0] = 1;
    set.AddImmBind(Fake(1), 0);
    set.AddImmBind(Fake(2), 1);
    set.MarkUnknown(dep);
    EXPECT_EQ(set.imm[1], -1);
    EXPECT_EQ(set.imm_binds[1], nullptr);
    EXPECT_EQ(set.imm[0], 1);  // not named: unchanged
    EXPECT_NE(set.imm_binds[0], nullptr);
    EXPECT_EQ(set.exc[0], -1);
    EXPECT_EQ(set.exc[1], 1);
    EXPECT_EQ(set.exc[2], -1);
    EXPECT_EQ(set.inf[0], 1);
}
