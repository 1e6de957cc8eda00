// The resolver's refresh of what immediate firings change for the exclusive
// transitions: an active entry whose binding an immediate firing took away
// is dropped while others are kept, and the transitions to activate in the
// reached marking include those depending on the immediate transitions
// fired, not only those depending on the timed firing. Vanishing markings
// met again along other paths are found, whether few or many were met.
// Resolutions that branch late, fire long chains or loop reach what the
// graph of their markings gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <tuple>
#include <vector>

#include "CountVector.h"
#include "FatalReport.h"
#include "TestNet.h"
#include "netmodel/EnablingSets.h"
#include "netmodel/NetArrays.h"
#include "statedata/NetCounts.h"
#include "statespace/Activation.h"
#include "statespace/DependentTransitions.h"
#include "statespace/VanishingResolver.h"

namespace {

// A list of dependents as (class index, whether the firings may enable it,
// whether they may disable it).
using Listed = std::vector<std::tuple<unsigned short, bool, bool>>;

Listed ListOf(const std::vector<DependentExclusive>& list)
{
    Listed triples;
    for (const DependentExclusive& d : list) triples.emplace_back(d.exclusive, d.mayEnable, d.mayDisable);
    return triples;
}

// Whether a reached marking's flat form is that of these counts.
bool FlatIs(const VanishingResolver& resolver, const std::uint16_t* flat,
            const std::vector<unsigned short>& counts)
{
    CountVector vector(counts);
    std::vector<std::uint16_t> expected(resolver.Counts().Words());
    resolver.Counts().Flatten(vector.pms, expected.data());
    return flat && std::equal(expected.begin(), expected.end(), flat);
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
        const unsigned short x = 1, z = 3;  // (y is 2)
        ASSERT_EQ(no_of_exc_transitions, 4);

        VanishingResolver resolver;
        resolver.Prepare(withVectors);
        ASSERT_TRUE(resolver.OnCounts());
        CountVector successor({1, 1, 0, 0, 1, 0});
        const std::vector<short> ata{0, 1, 1, 0};  // x and y active, t spent
        const auto& reached = resolver.Resolve(successor.pms, ata.data(), DependentImmediates(t->GetNo()), 0);
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

        // t depends on itself, x and z on i, which fired; nothing fired
        // touches y's place. t took its own token and i took x's: they may
        // have been disabled. i gave z one: z may have been enabled.
        EXPECT_EQ(ListOf(resolver.ExclusivesToActivate(t->GetNo())),
                  (Listed{{0, false, true}, {x, false, true}, {z, true, false}}));
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
        const auto& reached = resolver.Resolve(successor.pms, nullptr, DependentImmediates(t->GetNo()), 0);
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

// t puts a token on a0; chain transitions move it along a0 -> a1 -> ...
// (weight 2 each, so that a share of 1 comes only from dividing by the
// sum); at the chain's end b sends it to x (weight 1) or y (weight 3), and
// y moves on to z (weight 5). Whether the branch comes at the first, second
// or third firing, x is reached with 1/4 and z with 3/4, in that order: the
// leaves below the marking fired from, in the order fired. An answer before
// the branch, or values that keep a weight undivided, fail.
TEST(VanishingResolver, ChainsBranchingLateReachEachLeafWithItsShare)
{
    for (unsigned short chain : {0, 1, 2}) {
        TestNet net;
        Place* s = net.AddPlace("s", 1);
        std::vector<Place*> a;
        for (unsigned short k = 0; k <= chain; ++k) a.push_back(net.AddPlace("a"));
        Place* x = net.AddPlace("x");
        Place* y = net.AddPlace("y");
        Place* z = net.AddPlace("z");
        Transition* t = net.Add("t", {{{{s, 1}}, {{a[0], 1}}, Exp(1.0)}});
        for (unsigned short k = 0; k < chain; ++k)
            net.Add("c", {{{{a[k], 1}}, {{a[k + 1], 1}}, Imm(2.0)}});
        net.Add("b",
                {{{{a[chain], 1}}, {{x, 1}}, Imm(1.0)}, {{{a[chain], 1}}, {{y, 1}}, Imm(3.0)}});
        net.Add("yz", {{{{y, 1}}, {{z, 1}}, Imm(5.0)}});
        for (Place* p : {x, z}) net.Add("back", {{{{p, 1}}, {{s, 1}}, Exp(1.0)}});
        net.Finish();
        PrepareActivation();

        VanishingResolver resolver;
        resolver.Prepare(false);
        ASSERT_TRUE(resolver.Counts().Usable());
        std::vector<unsigned short> counts(chain + 5, 0);
        counts[1] = 1;
        CountVector successor(counts);
        const auto& reached =
            resolver.Resolve(successor.pms, nullptr, DependentImmediates(t->GetNo()), 0);
        ASSERT_EQ(reached.size(), 2u) << chain << " firings before the branch";
        counts[1] = 0;
        counts[chain + 2] = 1;
        EXPECT_TRUE(FlatIs(resolver, reached[0].flat, counts)) << chain;
        EXPECT_EQ(reached[0].value, 0.25) << chain;
        counts[chain + 2] = 0;
        counts[chain + 4] = 1;
        EXPECT_TRUE(FlatIs(resolver, reached[1].flat, counts)) << chain;
        EXPECT_EQ(reached[1].value, 0.75) << chain;
    }
}

// From (p, s), m (p -> q, weight 1) and xa (s -> a, weight 3) fire; xb
// (s + q -> b + q, weight 1) needs q, which only m brings. After m, xa and
// xb fire (3/4 and 1/4 of 1/4); after xa, m fires. So (q, a) is met twice,
// with 3/4 + 3/16 = 15/16 in all, and (q, b) once, with 1/16. The graph
// lists (q, b) first: it collects the markings last met first.
TEST(VanishingResolver, LeavesMetAlongTwoPathsAddUpAndComeWhereMetLast)
{
    TestNet net;
    Place* src = net.AddPlace("src", 1);
    Place* p = net.AddPlace("p");
    Place* s = net.AddPlace("s");
    Place* q = net.AddPlace("q");
    Place* a = net.AddPlace("a");
    Place* b = net.AddPlace("b");
    Transition* t = net.Add("t", {{{{src, 1}}, {{p, 1}, {s, 1}}, Exp(1.0)}});
    net.Add("m", {{{{p, 1}}, {{q, 1}}, Imm(1.0)}});
    net.Add("xa", {{{{s, 1}}, {{a, 1}}, Imm(3.0)}});
    net.Add("xb", {{{{s, 1}, {q, 1}}, {{b, 1}, {q, 1}}, Imm(1.0)}});
    net.Finish();
    PrepareActivation();
    VanishingResolver resolver;
    resolver.Prepare(false);
    CountVector successor({0, 1, 1, 0, 0, 0});
    const auto& reached = resolver.Resolve(successor.pms, nullptr, DependentImmediates(t->GetNo()), 0);
    ASSERT_EQ(reached.size(), 2u);
    EXPECT_TRUE(FlatIs(resolver, reached[0].flat, {0, 0, 0, 1, 0, 1}));
    EXPECT_EQ(reached[0].value, 1.0 / 16);
    EXPECT_TRUE(FlatIs(resolver, reached[1].flat, {0, 0, 0, 1, 1, 0}));
    EXPECT_EQ(reached[1].value, 15.0 / 16);
}

// i fires a on to b by two bindings (weights 1 and 3): the same marking,
// reached once with 1/4 + 3/4. After a chain of 40 firings (a0 -> ... ->
// a40) the last marking is reached with 1, and of the exclusive
// transitions, t (it took s) and `last` on a40 (the chain's last firing
// filled it) are named for activation, `other` (a loop on k) is not.
TEST(VanishingResolver, LeavesMetTwiceAndLongChainsAreReachedOnce)
{
    {
        TestNet net;
        Place* s = net.AddPlace("s", 1);
        Place* a = net.AddPlace("a");
        Place* b = net.AddPlace("b");
        Transition* t = net.Add("t", {{{{s, 1}}, {{a, 1}}, Exp(1.0)}});
        net.Add("i", {{{{a, 1}}, {{b, 1}}, Imm(1.0)}, {{{a, 1}}, {{b, 1}}, Imm(3.0)}});
        net.Finish();
        PrepareActivation();
        VanishingResolver resolver;
        resolver.Prepare(false);
        CountVector successor({0, 1, 0});
        const auto& reached =
            resolver.Resolve(successor.pms, nullptr, DependentImmediates(t->GetNo()), 0);
        ASSERT_EQ(reached.size(), 1u);
        EXPECT_TRUE(FlatIs(resolver, reached[0].flat, {0, 0, 1}));
        EXPECT_EQ(reached[0].value, 1.0);
    }
    constexpr unsigned short kChain = 40;
    TestNet net;
    Place* s = net.AddPlace("s", 1);
    std::vector<Place*> a;
    for (unsigned short k = 0; k <= kChain; ++k) a.push_back(net.AddPlace("a"));
    Place* k = net.AddPlace("k", 1);
    Transition* t = net.Add("t", {{{{s, 1}}, {{a[0], 1}}, Exp(1.0)}});
    net.Add("last", {{{{a[kChain], 1}}, {{s, 1}}, Exp(1.0)}});
    net.Add("other", {{{{k, 1}}, {{k, 1}}, Exp(1.0)}});
    for (unsigned short j = 0; j < kChain; ++j)
        net.Add("c", {{{{a[j], 1}}, {{a[j + 1], 1}}, Imm(1.0)}});
    net.Finish();
    PrepareActivation();
    ASSERT_TRUE(AtaRefreshByDependencies());
    VanishingResolver resolver;
    resolver.Prepare(false);
    std::vector<unsigned short> counts(kChain + 3, 0);
    counts[1] = 1;
    counts[kChain + 2] = 1;
    CountVector successor(counts);
    const std::vector<short> ata{0, 0, 1};
    const auto& reached =
        resolver.Resolve(successor.pms, ata.data(), DependentImmediates(t->GetNo()), 0);
    ASSERT_EQ(reached.size(), 1u);
    counts[1] = 0;
    counts[kChain + 1] = 1;
    EXPECT_TRUE(FlatIs(resolver, reached[0].flat, counts));
    EXPECT_EQ(reached[0].value, 1.0);
    ASSERT_NE(reached[0].ata, nullptr);
    EXPECT_EQ(std::vector<short>(reached[0].ata, reached[0].ata + 3), ata);
    // t takes s and nothing gives it back; the chain's last step gives
    // `last` its token.
    EXPECT_EQ(ListOf(resolver.ExclusivesToActivate(t->GetNo())),
              (Listed{{0, false, true}, {1, true, false}}));
}

// t1 moves s1 to a1 and t2 moves s2 to a2; immediate i moves a1 or a2 (a
// binding each) on to b, where u takes it; v1 and v2 are loops on s1 and
// s2. A transition depends on another that puts tokens on, or takes them
// from, a place it touches: i on t1, t2 and u, t1 on itself and v1, t2 on
// itself and v2. So after t1 and i, t1, t2, u and v1 are to be activated,
// after t2 and i, t1, t2, u and v2: the lists differ by the timed
// transition where the same immediate one fired. Only u may have been
// enabled by the firings (i gives b a token); the timed transition fired
// and its loop may have been disabled (it took their token); the other
// timed transition keeps its token, and so its enabling.
TEST(VanishingResolver, TransitionsToActivateFollowTheTimedFiringAsWellAsTheImmediateOnes)
{
    TestNet net;
    Place* s1 = net.AddPlace("s1", 1);
    Place* s2 = net.AddPlace("s2", 1);
    Place* a1 = net.AddPlace("a1");
    Place* a2 = net.AddPlace("a2");
    Place* b = net.AddPlace("b");
    Place* k = net.AddPlace("k");
    Transition* t1 = net.Add("t1", {{{{s1, 1}}, {{a1, 1}}, Exp(1.0)}});
    Transition* t2 = net.Add("t2", {{{{s2, 1}}, {{a2, 1}}, Exp(1.0)}});
    net.Add("u", {{{{b, 1}}, {{k, 1}}, Exp(1.0)}});
    net.Add("v1", {{{{s1, 1}}, {{s1, 1}}, Exp(1.0)}});
    net.Add("v2", {{{{s2, 1}}, {{s2, 1}}, Exp(1.0)}});
    net.Add("i", {{{{a1, 1}}, {{b, 1}}, Imm(1.0)}, {{{a2, 1}}, {{b, 1}}, Imm(1.0)}});
    net.Finish();
    PrepareActivation();
    VanishingResolver resolver;
    resolver.Prepare(false);
    const std::vector<short> ata{0, 0, 0, 0, 0};
    for (int round = 0; round < 2; ++round) {
        CountVector afterT1({0, 1, 1, 0, 0, 0});
        ASSERT_EQ(
            resolver.Resolve(afterT1.pms, ata.data(), DependentImmediates(t1->GetNo()), 0).size(), 1u);
        EXPECT_EQ(ListOf(resolver.ExclusivesToActivate(t1->GetNo())),
                  (Listed{{0, false, true}, {1, false, false}, {2, true, false}, {3, false, true}}));
        CountVector afterT2({1, 0, 0, 1, 0, 0});
        ASSERT_EQ(
            resolver.Resolve(afterT2.pms, ata.data(), DependentImmediates(t2->GetNo()), 0).size(), 1u);
        EXPECT_EQ(ListOf(resolver.ExclusivesToActivate(t2->GetNo())),
                  (Listed{{0, false, false}, {1, false, true}, {2, true, false}, {4, false, true}}));
    }
}

// i and j send a token back and forth between a and b: the resolution
// stops with the report of a marking met in its own line, after a branch
// as well as straight away.
TEST(VanishingResolver, LoopsOfImmediateFiringsStopTheGeneration)
{
    for (bool branchFirst : {false, true}) {
        auto resolve = [branchFirst] {
            TestNet net;
            Place* s = net.AddPlace("s", 1);
            Place* v = net.AddPlace("v");
            Place* a = net.AddPlace("a");
            Place* b = net.AddPlace("b");
            Place* c = net.AddPlace("c");
            Transition* t = net.Add("t", {{{{s, 1}}, {{branchFirst ? v : a, 1}}, Exp(1.0)}});
            net.Add("v", {{{{v, 1}}, {{a, 1}}, Imm(1.0)}, {{{v, 1}}, {{c, 1}}, Imm(1.0)}});
            net.Add("i", {{{{a, 1}}, {{b, 1}}, Imm(1.0)}});
            net.Add("j", {{{{b, 1}}, {{a, 1}}, Imm(1.0)}});
            net.Finish();
            PrepareActivation();
            VanishingResolver resolver;
            resolver.Prepare(false);
            const unsigned short onV = branchFirst ? 1 : 0;
            CountVector successor({0, onV, static_cast<unsigned short>(1 - onV), 0, 0});
            resolver.Resolve(successor.pms, nullptr, DependentImmediates(t->GetNo()), 0);
        };
        EXPECT_REPORT_EXIT(resolve(), kGenerationStatus,
                           ErrorBlock("Pendra/src/HandleImmTransitions", 147, "EndlessLoop()",
                                      "marking exists in own line"));
    }
}

}  // namespace
