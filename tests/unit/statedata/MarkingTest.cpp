#include "TestVectors.h"
#include "statedata/GraphQueries.h"
#include "statedata/Marking.h"
#include "statedata/NPMarking.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<Marking*> Targets(const Marking& m)
{
    std::vector<Marking*> out;
    for (stt* s = m.GetStt(); s; s = s->next) out.push_back(s->Target());
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

TEST(MarkingCopy, ACopyIntoAnArenaLeavesItsBlocksThereAndACopyOfItOwnsItsOwn)
{
    ExclusiveCount two(2);
    BlockArena arena;
    Pms pms = MakePms({{0, {{0, 3}}}, {4, {{1, 2}, {3, 1}}}});
    short ata[2] = {0, 1};
    Marking source(pms, ata);
    source.SetKey(9);
    clear_pms(pms);
    Marking lent(source, arena);
    EXPECT_TRUE(lent == source);
    EXPECT_EQ(lent.GetKey(), 9u);
    EXPECT_NE(lent.GetPms().places, source.GetPms().places);
    Marking owned(lent);
    Marking assigned;
    assigned = lent;
    // Cleaning a marking whose blocks are lent must not free them, and the
    // copies must not read the arena once it is gone.
    lent.Clean();
    arena.Release();
    EXPECT_TRUE(owned == source);
    EXPECT_TRUE(assigned == source);
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

TEST(MarkingEdges, ClearTotalDestroysOwnedTargets)
{
    Pms pms = MakePms({{0, {{0, 1}}}});
    Marking result;
    result.AddMarking(*new Marking(pms), DelayVal(0.5, kDelayImmediate));
    result.GetStt()->Target()->AddMarking(*new Marking(pms), DelayVal(1.0, kDelayImmediate));
    result.AddMarking(*new Marking(pms), DelayVal(0.5, kDelayImmediate));
    result.ClearTotal();  // the sanitizer build reports anything left behind
    EXPECT_EQ(result.GetStt(), nullptr);
    EXPECT_EQ(result.GetKey(), 1u);
    clear_pms(pms);
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
