// Generation of the graph from small nets whose graphs are known by hand:
// exclusive firing, activation by weight, infinite-server degrees, the
// initial marking. (The errors of the generation modes are end-to-end cases.)
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "GraphInspection.h"
#include "SmallNets.h"
#include "TestNet.h"
#include "netmodel/Function.h"
#include "statespace/CreateRRG.h"
#include "statespace/InterningPipeline.h"
#include "statedata/StateSpaceGlobals.h"

namespace {

using Rates = std::vector<double>;

Rates EdgeValues(const Marking& m)
{
    Rates values;
    for (const stt* s : Edges(m)) values.push_back(s->GetDelayVal());
    return values;
}

// One exclusive transition with two bindings moves a token from p1 to p2
// (rate 2) and back (rate 4).
TEST(Generation, OneTransitionMovingATokenBackAndForthGivesTwoMarkings)
{
    TestNet net;
    Place* p1 = net.AddPlace("p1", 1);
    Place* p2 = net.AddPlace("p2");
    net.Add("t", {{{{p1, 1}}, {{p2, 1}}, Exp(2.0)}, {{{p2, 1}}, {{p1, 1}}, Exp(4.0)}});
    net.Finish();
    CreateRRG();

    ASSERT_EQ(MHash.GetCounter(), 2u);
    Marking* first = FindMarking({1, 0}, {1});
    Marking* second = FindMarking({0, 1}, {2});
    ASSERT_TRUE(first && second);
    EXPECT_EQ(InitialMarking, first);
    for (auto [from, to, rate] : {std::tuple{first, second, 2.0}, std::tuple{second, first, 4.0}}) {
        auto edges = Edges(*from);
        ASSERT_EQ(edges.size(), 1u);
        EXPECT_EQ(edges[0]->Target(), to);
        EXPECT_EQ(edges[0]->GetDelayType(), kDelayExponential);
        EXPECT_DOUBLE_EQ(edges[0]->GetDelayVal(), rate);
        EXPECT_EQ(edges[0]->GetTransNo(), 1);
    }
}

// p0 -t0-> p1; t1 has two bindings p1 -> p2 with weights 1 and 3.
TEST(Generation, ActivationByWeightSplitsTheRateOfTheFiringBefore)
{
    TestNet net;
    Place* p0 = net.AddPlace("p0", 1);
    Place* p1 = net.AddPlace("p1");
    Place* p2 = net.AddPlace("p2");
    net.Add("t0", {{{{p0, 1}}, {{p1, 1}}, Exp(2.0)}});
    net.Add("t1", {{{{p1, 1}}, {{p2, 1}}, Exp(5.0), 1.0}, {{{p1, 1}}, {{p2, 1}}, Exp(7.0), 3.0}});
    net.Add("t2", {{{{p2, 1}}, {{p0, 1}}, Exp(1.0)}});
    net.Finish();
    CreateRRG();

    Marking* start = FindMarking({1, 0, 0}, {1, 0, 0});
    Marking* light = FindMarking({0, 1, 0}, {0, 1, 0});
    Marking* heavy = FindMarking({0, 1, 0}, {0, 2, 0});
    ASSERT_TRUE(start && light && heavy);
    EXPECT_EQ(InitialMarking, start);
    // Branches are handled in binding order; each edge goes to the front.
    auto edges = Edges(*start);
    ASSERT_EQ(edges.size(), 2u);
    EXPECT_EQ(edges[0]->Target(), heavy);
    EXPECT_DOUBLE_EQ(edges[0]->GetDelayVal(), 1.5);
    EXPECT_EQ(edges[1]->Target(), light);
    EXPECT_DOUBLE_EQ(edges[1]->GetDelayVal(), 0.5);
    for (const stt* e : edges) {
        EXPECT_EQ(e->GetDelayType(), kDelayExponential);
        EXPECT_EQ(e->GetTransNo(), 1);  // the firing that was split
    }
    // Only the active binding fires.
    EXPECT_EQ(EdgeValues(*light), Rates{5.0});
    EXPECT_EQ(EdgeValues(*heavy), Rates{7.0});
    EXPECT_EQ(MHash.GetCounter(), 4u);
}

TEST(Generation, TwoTransitionsActivatedTogetherGiveEveryCombination)
{
    TestNet net;
    Place* p0 = net.AddPlace("p0", 1);
    Place* a = net.AddPlace("a");
    Place* b = net.AddPlace("b");
    Place* done = net.AddPlace("done");
    net.Add("t0", {{{{p0, 1}}, {{a, 1}, {b, 1}}, Exp(4.0)}});
    net.Add("ta", {{{{a, 1}}, {{done, 1}}, Exp(1.0)}, {{{a, 1}}, {{done, 1}}, Exp(1.0)}});
    net.Add("tb", {{{{b, 1}}, {{done, 1}}, Exp(1.0)}, {{{b, 1}}, {{done, 1}}, Exp(1.0)}});
    net.Finish();
    CreateRRG();

    auto edges = Edges(*InitialMarking);
    ASSERT_EQ(edges.size(), 4u);
    std::vector<std::vector<short>> atas;
    for (const stt* e : edges) {
        EXPECT_DOUBLE_EQ(e->GetDelayVal(), 1.0);
        atas.push_back(AtaOf(*e->Target()));
    }
    // Depth first over ta's bindings, then tb's; the last branch is listed first.
    std::vector<std::vector<short>> expected{{0, 2, 2}, {0, 2, 1}, {0, 1, 2}, {0, 1, 1}};
    EXPECT_EQ(atas, expected);
}

TEST(Generation, InfiniteServerRateGrowsWithTheEnablingDegree)
{
    TestNet net;
    Place* p = net.AddPlace("p", 3);
    Place* q = net.AddPlace("q");
    net.Add("serve", {{{{p, 1}}, {{q, 1}}, Exp(2.0)}}, InfiniteServer);
    net.Add("back", {{{{q, 1}}, {{p, 1}}, Exp(1.0)}});
    net.Finish();
    CreateRRG();

    ASSERT_EQ(AtaOf(*InitialMarking), std::vector<short>{});
    auto edges = Edges(*InitialMarking);
    ASSERT_EQ(edges.size(), 1u);
    EXPECT_DOUBLE_EQ(edges[0]->GetDelayVal(), 6.0);
    EXPECT_EQ(edges[0]->GetDelayType(), kDelayExponential);
    EXPECT_EQ(edges[0]->Target(), FindMarking({2, 1}, {1}));
    // Exclusive entries come before infinite-server ones; edges go to the front.
    EXPECT_EQ(EdgeValues(*FindMarking({2, 1}, {1})), (Rates{4.0, 1.0}));
    EXPECT_EQ(EdgeValues(*FindMarking({0, 3}, {1})), (Rates{1.0}));
    EXPECT_EQ(MHash.GetCounter(), 4u);
}

TEST(Generation, TwoFiringsOfOneSourceToOneTargetKeepTwoEdges)
{
    TestNet net;
    Place* p = net.AddPlace("p", 1);
    Place* q = net.AddPlace("q");
    net.Add("go", {{{{p, 1}}, {{q, 1}}, Exp(1.0)}, {{{p, 1}}, {{q, 1}}, Exp(2.0)}}, InfiniteServer);
    net.Add("back", {{{{q, 1}}, {{p, 1}}, Exp(3.0)}}, InfiniteServer);
    net.Finish();
    CreateRRG();

    auto edges = Edges(*InitialMarking);
    ASSERT_EQ(edges.size(), 2u);
    EXPECT_EQ(edges[0]->Target(), edges[1]->Target());
    EXPECT_DOUBLE_EQ(edges[0]->GetDelayVal() + edges[1]->GetDelayVal(), 3.0);
}

// With one edge the start marking only stands for the initial marking; with
// several it stays the initial state, outside the store.
TEST(Generation, ActivationChoiceInTheInitialMarkingMakesAStartMarking)
{
    TestNet net;
    BuildChoiceAtStart(net);
    CreateRRG();

    auto edges = Edges(*InitialMarking);
    ASSERT_EQ(edges.size(), 2u);
    for (const stt* e : edges) {
        EXPECT_EQ(e->GetDelayType(), kDelayProbability);
        EXPECT_DOUBLE_EQ(e->GetDelayVal(), 0.5);
    }
    for (Marking* m : StoredMarkings()) EXPECT_NE(m, InitialMarking);
    EXPECT_EQ(GenerationMode(), 1);
}

// Transition t1 fills q, whose capacity is the number of tokens on r; t2
// fills r without touching q. Although t2's firing cannot change t1's
// places, it enables t1: the disabled t1 must be checked again.
TEST(Generation, CapacityReadingAnotherPlaceKeepsDisabledTransitionsUnderCheck)
{
    TestNet net;
    Place* p = net.AddPlace("p", 1);
    Place* q = net.AddPlace("q");
    Place* r = net.AddPlace("r");
    Place* s = net.AddPlace("s", 1);
    Function tokensOnR(CountOp, r->GetPlaceHeader(), nullptr);
    q->GetCapacity() = Capacity(NumCap, &tokensOnR);
    net.Add("t1", {{{{p, 1}}, {{q, 1}}, Exp(1.0)}});
    net.Add("t2", {{{{s, 1}}, {{r, 1}}, Exp(1.0)}});
    net.Add("t3", {{{{r, 1}}, {{s, 1}}, Exp(1.0)}});
    net.Add("t4", {{{{q, 1}}, {{p, 1}}, Exp(1.0)}});
    net.Finish();
    CreateRRG();

    EXPECT_NE(FindMarking({1, 0, 1, 0}, {1, 0, 1, 0}), nullptr);  // t1 activated after t2
    EXPECT_NE(FindMarking({0, 1, 1, 0}, {0, 0, 1, 1}), nullptr);  // and fired
}

// Two tokens circling through p0 -t0-> p1 -t1-> p2 -t2-> p0 (rates 1, 2, 3):
// six markings, most of them reached from two sources, each transition
// active exactly while its place is marked. Every marking's edges come in
// the order of its firings, the last fired first.
TEST(Generation, RingOfTwoTokensGivesEveryDistributionWithItsFirings)
{
    TestNet net;
    Place* p[3] = {net.AddPlace("p0", 2), net.AddPlace("p1"), net.AddPlace("p2")};
    const double rate[3] = {1.0, 2.0, 3.0};
    const char* names[3] = {"t0", "t1", "t2"};
    for (int i = 0; i < 3; ++i)
        net.Add(names[i], {{{{p[i], 1}}, {{p[(i + 1) % 3], 1}}, Exp(rate[i])}});
    net.Finish();
    CreateRRG();

    ASSERT_EQ(MHash.GetCounter(), 6u);
    EXPECT_EQ(InitialMarking, FindMarking({2, 0, 0}, {1, 0, 0}));
    for (Marking* m : StoredMarkings()) {
        std::vector<int> tokens = {Tokens(*m, p[0]), Tokens(*m, p[1]), Tokens(*m, p[2])};
        std::vector<short> active(3);
        for (int i = 0; i < 3; ++i) active[i] = tokens[i] > 0 ? 1 : 0;
        EXPECT_EQ(AtaOf(*m), active);
        auto edges = Edges(*m);
        auto edge = edges.begin();
        for (int i = 2; i >= 0; --i) {
            if (tokens[i] == 0) continue;
            ASSERT_NE(edge, edges.end());
            std::vector<int> after = tokens;
            --after[i];
            ++after[(i + 1) % 3];
            std::vector<short> activeAfter(3);
            for (int k = 0; k < 3; ++k) activeAfter[k] = after[k] > 0 ? 1 : 0;
            EXPECT_EQ((*edge)->Target(), FindMarking(after, activeAfter));
            EXPECT_EQ((*edge)->GetTransNo(), i + 1);
            EXPECT_DOUBLE_EQ((*edge)->GetDelayVal(), rate[i]);
            ++edge;
        }
        EXPECT_EQ(edge, edges.end());
    }
}

// A ring of places p_i, each emptied by its exclusive transition t_i (rate
// i + 1, transition number i + 1) towards p_(i+1), holding two tokens
// started together: every distribution of them, C(n + 1, 2) markings for n
// places, each t_i active exactly while p_i is marked, and one edge per
// marked place, to the distribution with that place's token moved on.
void ExpectEveryDistributionOfTwoTokens(const std::vector<Place*>& p)
{
    const int n = static_cast<int>(p.size());
    const auto markings = static_cast<unsigned>(n * (n + 1) / 2);
    ASSERT_EQ(MHash.GetCounter(), markings);
    std::map<std::vector<int>, Marking*> byTokens;
    for (Marking* m : StoredMarkings()) {
        std::vector<int> tokens(n);
        for (int i = 0; i < n; ++i) tokens[i] = Tokens(*m, p[i]);
        byTokens[tokens] = m;
    }
    ASSERT_EQ(byTokens.size(), markings);
    for (const auto& [tokens, m] : byTokens) {
        std::vector<short> active(n);
        for (int i = 0; i < n; ++i) active[i] = tokens[i] > 0 ? 1 : 0;
        EXPECT_EQ(AtaOf(*m), active);
        auto edges = Edges(*m);
        EXPECT_EQ(edges.size(), static_cast<std::size_t>(std::count(active.begin(), active.end(), 1)));
        for (const stt* e : edges) {
            const int i = e->GetTransNo() - 1;
            ASSERT_TRUE(i >= 0 && i < n && tokens[i] > 0) << "transition " << i + 1;
            std::vector<int> after = tokens;
            --after[i];
            ++after[(i + 1) % n];
            auto target = byTokens.find(after);
            ASSERT_NE(target, byTokens.end());
            EXPECT_EQ(e->Target(), target->second);
            EXPECT_DOUBLE_EQ(e->GetDelayVal(), i + 1.0);
        }
    }
}

// The ring wider than the blocks of 32 entries in which atas are looked
// through: 70 places, 2485 markings.
TEST(Generation, WideRingOfTwoTokensGivesEveryDistributionWithItsFirings)
{
    constexpr int kPlaces = 70;
    TestNet net;
    std::vector<std::string> names;
    std::vector<Place*> p;
    for (int i = 0; i < kPlaces; ++i) {
        names.push_back("p" + std::to_string(i));
        p.push_back(net.AddPlace(names.back().c_str(), i == 0 ? 2 : 0));
    }
    for (int i = 0; i < kPlaces; ++i) {
        names.push_back("t" + std::to_string(i));
        net.Add(names.back().c_str(), {{{{p[i], 1}}, {{p[(i + 1) % kPlaces], 1}}, Exp(i + 1.0)}});
    }
    net.Finish();
    CreateRRG();
    ExpectEveryDistributionOfTwoTokens(p);
}

// The same ring with an immediate transition on every step: t_i puts the
// token on q_i, and u_i takes it on to p_(i+1) at once. The vanishing
// markings are never stored, so the graph is the one of the plain ring; a
// marking's timed firings are made from its own active entries, which lie
// in several blocks of the ata, and are refreshed after each immediate
// firing.
TEST(Generation, WideRingWithImmediateStepsGivesTheGraphOfThePlainRing)
{
    constexpr int kPlaces = 70;
    TestNet net;
    std::vector<std::string> names;
    std::vector<Place*> p, q;
    for (int i = 0; i < kPlaces; ++i) {
        names.push_back("p" + std::to_string(i));
        p.push_back(net.AddPlace(names.back().c_str(), i == 0 ? 2 : 0));
        names.push_back("q" + std::to_string(i));
        q.push_back(net.AddPlace(names.back().c_str()));
    }
    for (int i = 0; i < kPlaces; ++i) {
        names.push_back("t" + std::to_string(i));
        net.Add(names.back().c_str(), {{{{p[i], 1}}, {{q[i], 1}}, Exp(i + 1.0)}});
    }
    for (int i = 0; i < kPlaces; ++i) {
        names.push_back("u" + std::to_string(i));
        net.Add(names.back().c_str(), {{{{q[i], 1}}, {{p[(i + 1) % kPlaces], 1}}, Imm(1.0)}});
    }
    net.Finish();
    CreateRRG();
    ExpectEveryDistributionOfTwoTokens(p);
    for (Marking* m : StoredMarkings())
        for (Place* between : q) ASSERT_EQ(Tokens(*m, between), 0);
}

// One token in the hub, seventeen arms: t_k takes it to arm k (rate k), b_k
// brings it back (rate 100). The hub marking has more successors than the
// interning handles at a time without a thread of its own; with and without
// that thread the graph is the same.
TEST(Generation, HubWithSeventeenArmsGivesOneEdgePerArmWithOrWithoutInterningThread)
{
    constexpr int kArms = 17;
    for (bool thread : {true, false}) {
        SCOPED_TRACE(thread ? "with interning thread" : "interning inline");
        AllowInterningThread(thread);
        TestNet net;
        Place* hub = net.AddPlace("hub", 1);
        std::vector<Place*> arms;
        std::vector<std::string> names;
        for (int k = 0; k < kArms; ++k) {
            names.push_back("a" + std::to_string(k));
            arms.push_back(net.AddPlace(names.back().c_str()));
        }
        for (int k = 0; k < kArms; ++k) {
            names.push_back("t" + std::to_string(k));
            net.Add(names.back().c_str(), {{{{hub, 1}}, {{arms[k], 1}}, Exp(k + 1.0)}});
            names.push_back("b" + std::to_string(k));
            net.Add(names.back().c_str(), {{{{arms[k], 1}}, {{hub, 1}}, Exp(100.0)}});
        }
        net.Finish();
        CreateRRG();

        ASSERT_EQ(MHash.GetCounter(), unsigned{kArms + 1});
        auto edges = Edges(*InitialMarking);
        ASSERT_EQ(edges.size(), std::size_t{kArms});
        for (int k = 0; k < kArms; ++k) {
            const stt* e = edges[kArms - 1 - k];  // the last fired comes first
            EXPECT_DOUBLE_EQ(e->GetDelayVal(), k + 1.0);
            EXPECT_EQ(Tokens(*e->Target(), arms[k]), 1);
            auto back = Edges(*e->Target());
            ASSERT_EQ(back.size(), 1u);
            EXPECT_EQ(back[0]->Target(), InitialMarking);
        }
    }
    AllowInterningThread(true);
}

}  // namespace
