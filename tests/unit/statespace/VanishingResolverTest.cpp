// The resolver's refresh of what immediate firings change for the exclusive
// transitions: an active entry whose binding an immediate firing took away
// is dropped while others are kept, and the transitions to activate in the
// reached marking include those depending on the immediate transitions
// fired, not only those depending on the timed firing. Vanishing markings
// met again along other paths are found, whether few or many were met.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

// t puts n tokens on a; immediate i sends each on to b (weight 1) or c
// (weight 3), one at a time, so that every vanishing marking but the
// all-b and all-c ones is met along several paths. Each of the n + 1
// tangible markings (0, j, n - j) must be reached once, with the binomial
// probability C(n, j) (1/4)^j (3/4)^(n - j). With 2 tokens the resolution
// meets 6 markings, with 12 it meets 91.
TEST(VanishingResolver, MarkingsMetAgainAreFoundAmongFewOrMany)
{
    for (unsigned short tokens : {2, 12}) {
        TestNet net;
        Place* s = net.AddPlace("s", 1);
        Place* a = net.AddPlace("a");
        Place* b = net.AddPlace("b");
        Place* c = net.AddPlace("c");
        Transition* t = net.Add("t", {{{{s, 1}}, {{a, tokens}}, Exp(2.0)}});
        net.Add("i", {{{{a, 1}}, {{b, 1}}, Imm(1.0)}, {{{a, 1}}, {{c, 1}}, Imm(3.0)}});
        net.Finish();
        PrepareActivation();

        VanishingResolver resolver;
        resolver.Prepare(true);
        ASSERT_TRUE(resolver.Counts().Usable());
        CountVector successor({0, tokens, 0, 0});
        const auto& reached = resolver.Resolve(successor.pms, nullptr, DependentImmediates(t->GetNo()));
        ASSERT_EQ(reached.size(), static_cast<std::size_t>(tokens + 1)) << tokens << " tokens";
        std::vector<int> times(static_cast<std::size_t>(tokens + 1), 0);
        for (const VanishingResolver::Reached& r : reached) {
            ASSERT_NE(r.pms, nullptr);
            int j = -1, rest = -1;
            for (int k = 0; k < r.pms->size; ++k) {
                if (r.pms->places[k].place == b->GetNo()) j = r.pms->places[k].quant;
                if (r.pms->places[k].place == c->GetNo()) rest = r.pms->places[k].quant;
            }
            j = std::max(j, 0);
            rest = std::max(rest, 0);
            ASSERT_EQ(j + rest, tokens);
            ++times[static_cast<std::size_t>(j)];
            double binomial = 1.0;
            for (int m = 0; m < j; ++m) binomial = binomial * (tokens - m) / (m + 1);
            const double expected = binomial * std::pow(0.25, j) * std::pow(0.75, tokens - j);
            EXPECT_NEAR(r.value, expected, 1e-14) << tokens << " tokens, " << j << " on b";
        }
        EXPECT_EQ(times, std::vector<int>(static_cast<std::size_t>(tokens + 1), 1));
    }
}

}  // namespace
