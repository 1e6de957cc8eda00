#include "TestVectors.h"
#include "statedata/GraphQueries.h"
#include "statedata/Marking.h"
#include "statedata/NPMarking.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

std::vector<Marking*> Targets(const Marking& m)
{
    std::vector<Marking*> out;
    for (const stt& s : m.Edges()) out.push_back(s.Target());
    return out;
}

}  // namespace

TEST(MarkingKey, AtaIsMixedIntoTheVectorKey)
{
    ExclusiveCount two(2);
    short ata[2] = {3, 0};
    Marking m(ata);
    m.CreateKey();
    // Empty vector: 1. ata: h = 1 * 3 = 3, then (3 << 4) + 2 * 65599 = 131246;
    // key = (1 << 4) + 131246.
    EXPECT_EQ(m.GetKey(), 131262u);

    Marking plain;
    plain.CreateKey();
    EXPECT_EQ(plain.GetKey(), 1u);
}

TEST(MarkingOrder, KeyThenAtaThenVector)
{
    ExclusiveCount one(1);
    Pms pms = MakePms({{0, {{0, 1}}}});
    short low[1] = {1};
    short high[1] = {2};
    Marking without(pms), withLow(pms, low), withHigh(pms, high);
    for (Marking* m : {&without, &withLow, &withHigh}) m->SetKey(7);
    EXPECT_EQ(without.Comp(withLow), -1);  // no ata is smaller
    EXPECT_EQ(withLow.Comp(without), 1);
    EXPECT_EQ(withLow.Comp(withHigh), -1);
    withHigh.SetKey(6);
    EXPECT_EQ(withLow.Comp(withHigh), 1);  // the key decides first

    Pms more = MakePms({{0, {{0, 2}}}});
    Marking bigger(more);
    bigger.SetKey(7);
    EXPECT_EQ(without.Comp(bigger), -1);
    clear_pms(pms);
    clear_pms(more);
}

TEST(MarkingEquality, TypeAtaAndVectorButNotKey)
{
    ExclusiveCount one(1);
    Pms pms = MakePms({{2, {{1, 4}}}});
    short ata[1] = {1};
    Marking a(pms, ata), b(pms, ata);
    a.SetKey(1);
    b.SetKey(99);
    EXPECT_TRUE(a == b);
    b.SetType(kDelayExponential);
    EXPECT_FALSE(a == b);
    Marking noAta(pms);
    EXPECT_FALSE(Marking(pms, ata) == noAta);
    clear_pms(pms);
}

TEST(MarkingCopy, CopiesAndAssignmentsKeepKeyKindAndContents)
{
    ExclusiveCount two(2);
    Pms pms = MakePms({{0, {{0, 3}}}, {4, {{1, 2}, {3, 1}}}});
    short ata[2] = {0, 1};
    auto source = std::make_unique<Marking>(pms, ata);
    source->SetKey(9);
    source->SetType(kDelayExponential);
    clear_pms(pms);
    Marking copy(*source);
    Marking assigned;
    assigned = *source;
    source.reset();  // the copies own their contents
    for (const Marking* m : {&copy, &assigned}) {
        EXPECT_EQ(m->GetKey(), 9u);
        EXPECT_EQ(m->GetType(), kDelayExponential);
        ASSERT_EQ(m->GetPms().size, 2);
        EXPECT_EQ(m->GetPms().places[1].place, 4);
        EXPECT_EQ(m->GetPms().places[1].entries[1].index, 3);
        EXPECT_EQ(m->GetAta()[1], 1);
    }
    EXPECT_TRUE(copy == assigned);
}

TEST(MarkingEdges, AddMarkingPutsTheNewEdgeFirst)
{
    Marking source, a, b;
    source.AddMarking(a, DelayVal(1.0, kDelayExponential, 1));
    source.AddMarking(b, DelayVal(2.0, kDelayExponential, 2));
    EXPECT_EQ(Targets(source), (std::vector<Marking*>{&b, &a}));
    EXPECT_EQ(source.GetStt()->GetTransNo(), 2);
}

TEST(MarkingEdges, OnlyProbabilitiesToAnEqualTargetAreMerged)
{
    Marking source, target;
    bool merged = true;
    source.UAddMarking(target, DelayVal(1.0, kDelayExponential), merged);
    EXPECT_FALSE(merged);
    source.UAddMarking(target, DelayVal(1.0, kDelayExponential), merged);
    EXPECT_FALSE(merged);  // two exponential edges to one target stay two
    EXPECT_EQ(Targets(source).size(), 2u);

    source.UAddMarking(target, DelayVal(0.25, kDelayProbability), merged);
    EXPECT_FALSE(merged);
    Marking equalTarget;  // a different object that compares equal
    source.UAddMarking(equalTarget, DelayVal(0.5, kDelayProbability), merged);
    EXPECT_TRUE(merged);
    EXPECT_EQ(Targets(source).size(), 3u);
    EXPECT_EQ(source.GetStt()->GetDelayVal(), 0.75);
    EXPECT_EQ(source.GetStt()->Target(), &target);
}

// Edges of one marking lie side by side: adding to markings in turn moves
// runs, which must keep every list whole and in order.
TEST(MarkingEdges, ListsAddedInTurnStayWholeAndInOrder)
{
    Marking a, b, c;
    std::vector<Marking*> wantA, wantB;
    for (int i = 0; i < 200; ++i) {
        Marking& first = i % 3 ? b : c;
        a.AddMarking(first, DelayVal(1.0 + i, kDelayExponential, static_cast<short>(i)));
        wantA.insert(wantA.begin(), &first);
        if (i % 2) {
            b.AddMarking(a, DelayVal(0.5, kDelayProbability, 1));
            wantB.insert(wantB.begin(), &a);
        }
    }
    EXPECT_EQ(Targets(a), wantA);
    EXPECT_EQ(Targets(b), wantB);
    short expected = 199;
    for (const stt& s : a.Edges()) {
        EXPECT_EQ(s.GetTransNo(), expected);
        EXPECT_EQ(s.GetDelayVal(), 1.0 + expected);
        --expected;
    }
    EXPECT_EQ(a.EdgeCount(), 200u);
    EXPECT_FALSE(c.GetStt());
}

// Edges with equal values share their record of the value: changing one
// edge's value, type or transition must leave the others as they were.
TEST(MarkingEdges, ChangingOneEdgeLeavesEqualOnesAlone)
{
    Marking m, t;
    const DelayVal rate(2.0, kDelayExponential, 4);
    m.AddMarking(t, rate);
    m.AddMarking(t, rate);
    m.AddMarking(t, rate);
    EdgeCursor first = m.GetStt();
    first->SetDelayVal(5.0);
    first.Next()->SetDelayType(kDelayPreempting);
    EXPECT_EQ(first->GetDelayVal(), 5.0);
    EXPECT_EQ(first->GetDelayType(), kDelayExponential);
    EXPECT_EQ(first.Next()->GetDelayVal(), 2.0);
    EXPECT_EQ(first.Next()->GetDelayType(), kDelayPreempting);
    EXPECT_EQ(first.Next().Next()->GetDelayVal(), 2.0);
    EXPECT_EQ(first.Next().Next()->GetDelayType(), kDelayExponential);
    EXPECT_EQ(first.Next().Next()->GetTransNo(), 4);
    EXPECT_FALSE(first.Next().Next().Next());
}

// A marking made outside the store is named by an id of its own while it
// lives; a later marking may get the id again.
TEST(MarkingEdges, TargetsOutsideTheStoreAreFoundByTheirIds)
{
    Marking source;
    auto target = std::make_unique<Marking>();
    source.AddMarking(*target, DelayVal(1.0, kDelayExponential, 1));
    source.AddMarking(source, DelayVal(1.0, kDelayExponential, 2));
    EXPECT_EQ(Targets(source), (std::vector<Marking*>{&source, target.get()}));
    target.reset();
    Marking other;
    source.AddMarking(other, DelayVal(1.0, kDelayExponential, 3));
    EXPECT_EQ(source.GetStt()->Target(), &other);
}

TEST(GraphQueries, RatesPathsRunsAndDeterministicReference)
{
    Marking m, x, y;
    m.AddMarking(y, DelayVal(5.0, kDelayDeterministic, 8));
    m.AddMarking(x, DelayVal(0.5, kDelayPreempting, 3));
    m.AddMarking(x, DelayVal(2.0, kDelayExponential, 2));
    m.AddMarking(y, DelayVal(1.0, kDelayExponential, 1));
    // Edges: y, x, x, y.
    EXPECT_EQ(GetSumOfRates(m), 3.5);
    EXPECT_EQ(GetNoOfExpPaths(m), 3);
    EXPECT_EQ(GetNoOfStateTrans(m), 3);
    EXPECT_EQ(GetDetOrGenTransRef(m), 8);
    EXPECT_EQ(GetDetOrGenTransRef(x), 0);
    EXPECT_EQ(GetNoOfStateTrans(x), 0);
}

// The chain transition is looked up once, but a marking asked before its
// edges were complete answers for the edges it has when asked again.
TEST(GraphQueries, DeterministicReferenceFollowsTheEdges)
{
    Marking m, x;
    m.AddMarking(x, DelayVal(2.0, kDelayExponential, 2));
    EXPECT_EQ(GetDetOrGenTransRef(m), 0);
    m.AddMarking(x, DelayVal(1.5, kDelayGeneral, 6));
    EXPECT_EQ(GetDetOrGenTransRef(m), 6);
    m.ClearEdges();
    EXPECT_EQ(GetDetOrGenTransRef(m), 0);
    m.AddMarking(x, DelayVal(5.0, kDelayDeterministic, 4));
    EXPECT_EQ(GetDetOrGenTransRef(m), 4);
    Marking copy(m);
    EXPECT_EQ(GetDetOrGenTransRef(copy), 0);  // a copy has no edges
}

TEST(NPMarking, EqualityNeedsKeyAndVector)
{
    Pms pms = MakePms({{1, {{0, 3}}}});
    NPMarking a(pms, 0.25), b(pms);
    a.CreateKey();
    b.CreateKey();
    EXPECT_TRUE(a == b);
    EXPECT_EQ(a.Comp(b), 0);
    b.SetKey(b.GetKey() + 1);
    EXPECT_FALSE(a == b);
    EXPECT_EQ(a.Comp(b), -1);
    clear_pms(pms);
}
