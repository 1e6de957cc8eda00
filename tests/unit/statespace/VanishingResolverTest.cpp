// The resolver's refresh of what immediate firings change for the exclusive
// transitions: an active entry whose binding an immediate firing took away
// is dropped while others are kept, and the transitions to activate in the
// reached marking include those depending on the immediate transitions
// fired, not only those depending on the timed firing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "CountVector.h"
#include "TestNet.h"
#include "netmodel/EnablingSets.h"
#include "netmodel/NetArrays.h"
#include "statedata/NetCounts.h"
#include "statespace/Activation.h"
#include "statespace/DependentTransitions.h"
#include "statespace/VanishingResolver.h"

namespace {

bool Contains(const std::vector<unsigned short>& list, unsigned short i)
{
    return std::find(list.begin(), list.end(), i) != list.end();
}

// t: r -> src fires; the immediate i then takes p and src to q. x (on p)
// was active and loses its binding; y (a loop on k) keeps its own; z (on q)
// becomes enabled by i alone.
TEST(VanishingResolver, ImmediateFiringsRefreshTheAtaAndNameTheirDependents)
{
    for (bool withVectors : {true, false}) {
        TestNet net;
        Place* p = net.AddPlace("p", 1);
        Place* src = net.AddPlace("src");
        Place* q = net.AddPlace("q");
        Place* r = net.AddPlace("r", 1);
        Place* k = net.AddPlace("k", 1);
        Place* s = net.AddPlace("s");
        Transition* t = net.Add("t", {{{{r, 1}}, {{src, 1}}, Exp(1.0)}});
        net.Add("x", {{{{p, 1}}, {{s, 1}}, Exp(1.0)}});
        net.Add("y", {{{{k, 1}}, {{k, 1}}, Exp(1.0)}});
        net.Add("z", {{{{q, 1}}, {{r, 1}}, Exp(1.0)}});
        net.Add("i", {{{{p, 1}, {src, 1}}, {{q, 1}}, Imm(1.0)}});
        net.Finish();
        PrepareActivation();
        ASSERT_TRUE(AtaRefreshByDependencies());
        const unsigned short x = 1, y = 2, z = 3;
        ASSERT_EQ(no_of_exc_transitions, 4);

        VanishingResolver resolver;
        resolver.Prepare(withVectors);
        ASSERT_TRUE(resolver.OnCounts());
        CountVector successor({1, 1, 0, 0, 1, 0});
        const std::vector<short> ata{0, 1, 1, 0};  // x and y active, t spent
        const auto& reached = resolver.Resolve(successor.pms, ata.data(), DependentImmediates(t->GetNo()));
        ASSERT_EQ(reached.size(), 1u);
        EXPECT_EQ(reached[0].value, 1.0);
        ASSERT_NE(reached[0].ata, nullptr);
        EXPECT_EQ(std::vector<short>(reached[0].ata, reached[0].ata + 4), (std::vector<short>{0, 0, 1, 0}));

        CountVector tangible({0, 0, 1, 0, 1, 0});
        std::vector<std::uint16_t> flat(resolver.Counts().Words());
        resolver.Counts().Flatten(tangible.pms, flat.data());
        ASSERT_NE(reached[0].flat, nullptr);
        EXPECT_TRUE(std::equal(flat.begin(), flat.end(), reached[0].flat));
        if (withVectors) {
            ASSERT_NE(reached[0].pms, nullptr);
            EXPECT_TRUE(pms_eq(*reached[0].pms, tangible.pms));
        } else {
            EXPECT_EQ(reached[0].pms, nullptr);
        }

        const std::vector<unsigned short>& toActivate = resolver.ExclusivesToActivate(t->GetNo());
        EXPECT_TRUE(Contains(toActivate, x)) << "x depends on i, which fired";
        EXPECT_TRUE(Contains(toActivate, z)) << "z depends on i, which fired";
        EXPECT_FALSE(Contains(toActivate, y)) << "nothing fired touches y's place";
        EXPECT_TRUE(std::is_sorted(toActivate.begin(), toActivate.end()));
    }
}

}  // namespace
