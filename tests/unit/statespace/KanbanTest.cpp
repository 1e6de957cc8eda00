// The kanban net for small card counts: the number of tangible markings is
// known, and every marking is exponential.
#include <gtest/gtest.h>

#include "Kanban.h"
#include "TestNet.h"
#include "statespace/CreateRRG.h"
#include "statespace/ExamineRRG.h"
#include "statespace/data/StateSpaceGlobals.h"

namespace {

TEST(Kanban, TangibleMarkingsForOneToThreeCards)
{
    const unsigned expected[] = {160, 4600, 58400};
    for (int n = 1; n <= 3; ++n) {
        TestNet net;
        BuildKanban(net, n);
        CreateRRG();
        EXPECT_EQ(MHash.GetCounter(), expected[n - 1]) << n << " cards";
        ExamineRRG();
        EXPECT_EQ(MCount[kCountTangible], expected[n - 1]) << n << " cards";
        EXPECT_EQ(MCount[kCountExp], expected[n - 1]) << n << " cards";
        EXPECT_EQ(MCount[kCountAll], expected[n - 1]) << n << " cards";
        EXPECT_EQ(static_cast<unsigned>(MLists.exp_markings.count), expected[n - 1]);
        EXPECT_EQ(InitialMarking->GetKey(), 1u);
    }
}

}  // namespace
