// Elimination of immediate transitions: branching probabilities, repeated
// steps, paths that meet again, the weight error, and the active bindings of
// exclusive transitions across immediate firings. (Loops of immediate
// firings are end-to-end cases.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "FatalReport.h"
#include "GraphInspection.h"
#include "SmallNets.h"
#include "TestNet.h"
#include "statespace/CreateRRG.h"
#include "statedata/StateSpaceGlobals.h"

namespace {

// The value of the edge from `from` to `to`, 0 when there is none.
double EdgeTo(const Marking& from, const Marking* to)
{
    for (const stt* s : Edges(from))
        if (s->Target() == to) return s->GetDelayVal();
    return 0.0;
}

// start -(exp 2)-> v; i1: v -> a | v -> b (1:1); i2: a -> c | a -> d (1:3);
// b, c, d lead back to start.
TEST(ImmediateElimination, StepsInARowMultiplyTheirProbabilities)
{
    TestNet net;
    Place* start = net.AddPlace("start", 1);
    Place* v = net.AddPlace("v");
    Place* a = net.AddPlace("a");
    Place* b = net.AddPlace("b");
    Place* c = net.AddPlace("c");
    Place* d = net.AddPlace("d");
    net.Add("t", {{{{start, 1}}, {{v, 1}}, Exp(2.0)}});
    net.Add("i1", {{{{v, 1}}, {{a, 1}}, Imm(1.0)}, {{{v, 1}}, {{b, 1}}, Imm(1.0)}});
    net.Add("i2", {{{{a, 1}}, {{c, 1}}, Imm(1.0)}, {{{a, 1}}, {{d, 1}}, Imm(3.0)}});
    for (Place* p : {b, c, d}) net.Add("back", {{{{p, 1}}, {{start, 1}}, Exp(1.0)}});
    net.Finish();
    CreateRRG();

    Marking* inB = FindMarking({0, 0, 0, 1, 0, 0}, {0, 1, 0, 0});
    Marking* inC = FindMarking({0, 0, 0, 0, 1, 0}, {0, 0, 1, 0});
    Marking* inD = FindMarking({0, 0, 0, 0, 0, 1}, {0, 0, 0, 1});
    ASSERT_TRUE(inB && inC && inD);
    auto edges = Edges(*InitialMarking);
    ASSERT_EQ(edges.size(), 3u);
    // Collected depth first (b, then d and c below a), handled in the order
    // of the collection's edge list (c, d, b), each edge put to the front.
    EXPECT_EQ(edges[0]->Target(), inB);
    EXPECT_EQ(edges[1]->Target(), inD);
    EXPECT_EQ(edges[2]->Target(), inC);
    EXPECT_DOUBLE_EQ(edges[0]->GetDelayVal(), 2.0 * 0.5);
    EXPECT_DOUBLE_EQ(edges[1]->GetDelayVal(), 2.0 * 0.375);
    EXPECT_DOUBLE_EQ(edges[2]->GetDelayVal(), 2.0 * 0.125);
    for (const stt* e : edges) {
        EXPECT_EQ(e->GetDelayType(), kDelayExponential);
        EXPECT_EQ(e->GetTransNo(), 1);
    }
    EXPECT_EQ(MHash.GetCounter(), 4u);
}

// Two concurrent immediate firings: both orders lead to the same tangible
// marking, which is collected once with the summed probability.
TEST(ImmediateElimination, PathsThatMeetAgainGiveOneEdge)
{
    TestNet net;
    Place* p = net.AddPlace("p", 1);
    Place* x = net.AddPlace("x");
    Place* y = net.AddPlace("y");
    Place* x2 = net.AddPlace("x2");
    Place* y2 = net.AddPlace("y2");
    net.Add("t", {{{{p, 1}}, {{x, 1}, {y, 1}}, Exp(3.0)}});
    net.Add("ix", {{{{x, 1}}, {{x2, 1}}, Imm(1.0)}});
    net.Add("iy", {{{{y, 1}}, {{y2, 1}}, Imm(1.0)}});
    net.Add("back", {{{{x2, 1}, {y2, 1}}, {{p, 1}}, Exp(1.0)}});
    net.Finish();
    CreateRRG();

    auto edges = Edges(*InitialMarking);
    ASSERT_EQ(edges.size(), 1u);
    EXPECT_EQ(edges[0]->Target(), FindMarking({0, 0, 0, 1, 1}, {0, 1}));
    EXPECT_DOUBLE_EQ(edges[0]->GetDelayVal(), 3.0);
}

// A vanishing initial marking: the start marking stays outside the store
// with immediate edges (the weights' shares) to the markings it leads to.
TEST(ImmediateElimination, VanishingInitialMarkingBecomesAStartMarking)
{
    TestNet net;
    BuildVanishingStart(net);
    CreateRRG();

    auto edges = Edges(*InitialMarking);
    ASSERT_EQ(edges.size(), 2u);
    EXPECT_DOUBLE_EQ(EdgeTo(*InitialMarking, FindMarking({0, 1, 0}, {1, 0})), 0.25);
    EXPECT_DOUBLE_EQ(EdgeTo(*InitialMarking, FindMarking({0, 0, 1}, {0, 1})), 0.75);
    for (const stt* e : edges) EXPECT_EQ(e->GetDelayType(), kDelayImmediate);
    EXPECT_EQ(MHash.GetCounter(), 2u);
}

// Exclusive transition `slow` is active on its binding 1 (it needs `keep`);
// an immediate firing that empties `keep` ends that activation, one that
// leaves it keeps it.
TEST(ImmediateElimination, ActiveBindingSurvivesImmediateFiringsOnlyWhileEnabled)
{
    TestNet net;
    Place* keep = net.AddPlace("keep", 1);
    Place* p = net.AddPlace("p", 1);
    Place* v = net.AddPlace("v");
    Place* w = net.AddPlace("w");
    net.Add("slow", {{{{keep, 1}}, {{keep, 1}}, Exp(1.0)}});
    net.Add("t", {{{{p, 1}}, {{v, 1}}, Exp(1.0)}});
    net.Add("i", {{{{v, 1}}, {{w, 1}}, Imm(1.0)}, {{{v, 1}, {keep, 1}}, {{w, 1}}, Imm(1.0)}});
    net.Add("back", {{{{w, 1}}, {{p, 1}}, Exp(1.0)}});
    net.Finish();
    CreateRRG();

    Marking* kept = FindMarking({1, 0, 0, 1}, {1, 0, 1});
    Marking* lost = FindMarking({0, 0, 0, 1}, {0, 0, 1});
    ASSERT_TRUE(kept && lost);
    EXPECT_DOUBLE_EQ(EdgeTo(*InitialMarking, kept), 0.5);
    EXPECT_DOUBLE_EQ(EdgeTo(*InitialMarking, lost), 0.5);
}

// Infinite-server transitions only: t moves the tokens of p (rate 1 each)
// to v, where an immediate choice sends them on to a or b; ta and tb bring
// them back. Each reached marking fires from its own contents.
TEST(ImmediateElimination, InfiniteServerFiringsStartFromEachReachedMarking)
{
    TestNet net;
    Place* p = net.AddPlace("p", 2);
    Place* v = net.AddPlace("v");
    Place* a = net.AddPlace("a");
    Place* b = net.AddPlace("b");
    net.Add("t", {{{{p, 1}}, {{v, 1}}, Exp(1.0)}}, InfiniteServer);
    net.Add("i", {{{{v, 1}}, {{a, 1}}, Imm(1.0)}, {{{v, 1}}, {{b, 1}}, Imm(1.0)}});
    net.Add("ta", {{{{a, 1}}, {{p, 1}}, Exp(1.0)}}, InfiniteServer);
    net.Add("tb", {{{{b, 1}}, {{p, 1}}, Exp(1.0)}}, InfiniteServer);
    net.Finish();
    ASSERT_EQ(GenerationMode(), 6);
    CreateRRG();

    EXPECT_EQ(MHash.GetCounter(), 6u);
    Marking* pa = FindMarking({1, 0, 1, 0}, {});
    ASSERT_NE(pa, nullptr);
    EXPECT_DOUBLE_EQ(EdgeTo(*InitialMarking, pa), 1.0);
    EXPECT_DOUBLE_EQ(EdgeTo(*pa, FindMarking({0, 0, 2, 0}, {})), 0.5);
    EXPECT_DOUBLE_EQ(EdgeTo(*pa, FindMarking({0, 0, 1, 1}, {})), 0.5);
    EXPECT_DOUBLE_EQ(EdgeTo(*pa, FindMarking({2, 0, 0, 0}, {})), 1.0);
    EXPECT_EQ(Edges(*pa).size(), 3u);
}

TEST(ImmediateEliminationErrors, WeightsSummingToZeroStop)
{
    auto build = [] {
        TestNet net;
        Place* p = net.AddPlace("p", 1);
        Place* v = net.AddPlace("v");
        net.Add("t", {{{{p, 1}}, {{v, 1}}, Exp(1.0)}});
        net.Add("i", {{{{v, 1}}, {{p, 1}}, RawWeight(1.0)}, {{{v, 1}}, {{p, 1}}, RawWeight(-1.0)}});
        net.Finish();
        CreateRRG();
    };
    EXPECT_REPORT_EXIT(
        build(), kGenerationStatus,
        ErrorBlock("Pendra/src/HandleImmTransitions", 244, "ChkAndFireImm()", "division by zero"));
}

}  // namespace

// t puts 12 tokens on a at once; immediate i sends each on to b (weight 1)
// or c (weight 3), one at a time, so that the vanishing markings (a, b, c)
// are met again and again by different orders of the same choices, and
// there are more of them (78) than the resolver's first index holds. Every
// way of meeting must find the marking kept before, or the resolution grows
// duplicates: the 13 tangible markings (0, j, 12 - j) must each be reached
// once, with the binomial probability C(12, j) (1/4)^j (3/4)^(12-j).
// rb and rc put a token back on a, so that every tangible marking is left
// again.
TEST(ImmediateElimination, VanishingMarkingsMetByManyPathsAreResolvedOnce)
{
    constexpr int kTokens = 12;
    TestNet net;
    Place* s = net.AddPlace("s", 1);
    Place* a = net.AddPlace("a");
    Place* b = net.AddPlace("b");
    Place* c = net.AddPlace("c");
    net.Add("t", {{{{s, 1}}, {{a, kTokens}}, Exp(2.0)}});
    net.Add("i", {{{{a, 1}}, {{b, 1}}, Imm(1.0)}, {{{a, 1}}, {{c, 1}}, Imm(3.0)}});
    net.Add("rb", {{{{b, 1}}, {{a, 1}}, Exp(1.0)}});
    net.Add("rc", {{{{c, 1}}, {{a, 1}}, Exp(1.0)}});
    net.Finish();
    CreateRRG();

    std::vector<int> reached(kTokens + 1, 0);
    double binomial = 1.0;  // C(12, j), built up exactly
    std::vector<double> expected;
    for (int j = 0; j <= kTokens; ++j) {
        expected.push_back(2.0 * binomial * std::pow(0.25, j) * std::pow(0.75, kTokens - j));
        binomial = binomial * (kTokens - j) / (j + 1);
    }
    auto edges = Edges(*InitialMarking);
    EXPECT_EQ(edges.size(), static_cast<std::size_t>(kTokens + 1));
    for (const stt* e : edges) {
        const Marking& m = *e->Target();
        int j = Tokens(m, b);
        ASSERT_TRUE(j >= 0 && j <= kTokens);
        EXPECT_EQ(Tokens(m, a), 0);
        EXPECT_EQ(Tokens(m, c), kTokens - j);
        ++reached[static_cast<std::size_t>(j)];
        EXPECT_NEAR(e->GetDelayVal(), expected[static_cast<std::size_t>(j)], 1e-14 * 2.0) << j;
    }
    EXPECT_EQ(reached, std::vector<int>(kTokens + 1, 1));
    EXPECT_EQ(MHash.GetCounter(), static_cast<unsigned>(kTokens + 2));
}
