#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Multisets.h"
#include "TestNet.h"
#include "netmodel/ConstVal.h"
#include "netmodel/EnablingSets.h"
#include "netmodel/Exponential.h"
#include "netmodel/Immediate.h"
#include "netmodel/MDMSet.h"
#include "netmodel/MarkingVectors.h"
#include "netmodel/PendingSuccessors.h"
#include "statedata/Marking.h"
#include "statedata/PendingMarking.h"
#include "statedata/TDep.h"
#include "statedata/TDepLst.h"
#include "statedata/TNos.h"

namespace {

Immediate Weight(double w)
{
    ConstVal weight(w);
    return Immediate(&weight);
}

Exponential Mean(double m)
{
    ConstVal mean(m);
    return Exponential(&mean);
}

// Places p (1 token) and q (empty); immediate i0: p -> q with two bindings,
// immediate i1 needs q; exclusive e0 needs p, exclusive e1 needs q;
// infinite-server s0 needs p.
class SmallNet : public testing::Test {
protected:
    void SetUp() override
    {
        p = net.AddPlace("p", 1);
        q = net.AddPlace("q", 0);
        auto pToQ = [this](double w) {
            return TestNet::NewBinding(Weight(w), TestNet::Arcs({{p, 1}}), TestNet::Arcs({{q, 1}}));
        };
        first = pToQ(1);
        second = pToQ(2);
        net.AddTransition("e0", TestNet::Exclusive,
                          {TestNet::NewBinding(Mean(1), TestNet::Arcs({{p, 1}}), nullptr)});
        net.AddTransition("e1", TestNet::Exclusive,
                          {TestNet::NewBinding(Mean(1), TestNet::Arcs({{q, 1}}), nullptr)});
        net.AddTransition("i0", TestNet::Immediates, {first, second});
        net.AddTransition("i1", TestNet::Immediates,
                          {TestNet::NewBinding(Weight(1), TestNet::Arcs({{q, 1}}), nullptr)});
        net.AddTransition("s0", TestNet::Infinite,
                          {TestNet::NewBinding(Mean(1), TestNet::Arcs({{p, 1}}), nullptr)});
        net.Install();
        MakeActPms(start);
    }
    void TearDown() override { clear_pms(start); }
    // The vector after the first firing (p empty, q one token) and the same
    // with two tokens on q; the places keep the start marking.
    void FiredAndTwice(Pms& fired, Pms& twice)
    {
        first->Fire();
        MakeNewPms(fired);
        first->CpyActToNew();
        copy_c_pms(fired, twice);
        twice.places[0].quant = twice.places[0].entries[0].quant = 2;
    }

    TestNet net;
    Place* p = nullptr;
    Place* q = nullptr;
    Binding* first = nullptr;
    Binding* second = nullptr;
    Pms start{0, nullptr};
};

TEST_F(SmallNet, FirstSetRecordsEveryEnabledTransition)
{
    std::unique_ptr<TNos> set(MakeFirstTNos(start));
    EXPECT_EQ(set->imm[0], 1);
    EXPECT_EQ(set->imm[1], 0);
    EXPECT_EQ(set->exc[0], 1);
    EXPECT_EQ(set->exc[1], -1);  // not enabled: still to be checked
    EXPECT_EQ(set->inf[0], 1);
    ASSERT_NE(set->imm_binds[0], nullptr);
    EXPECT_EQ(set->imm_binds[0]->Count(), 2);
    EXPECT_EQ(set->imm_binds[0]->GetLE(1), first);
    EXPECT_EQ(set->imm_binds[1], nullptr);
    EXPECT_EQ(set->inf_binds[0]->Count(), 1);
    // The trials left the new contents equal to the actual ones.
    EXPECT_EQ(q->GetNewTmsQuant(), 0);
}

TEST_F(SmallNet, FiringMarksOnlyTheDependentTransitionsUnknown)
{
    std::unique_ptr<TNos> first(MakeFirstTNos(start));
    TDepLst deps;
    deps.AddImm(0);
    deps.AddExc(1);
    TDep* records[] = {new TDep(deps), nullptr, nullptr, nullptr, nullptr};
    RefTDep = records;

    std::unique_ptr<TNos> next(MakeTNos(0));
    EXPECT_EQ(next->imm[0], -1);
    EXPECT_EQ(next->imm_binds[0], nullptr);
    EXPECT_EQ(next->exc[1], -1);
    EXPECT_EQ(next->exc[0], 1);
    EXPECT_EQ(next->inf[0], 1);
    EXPECT_EQ(next->inf_binds[0]->Count(), 1);
    EXPECT_EQ(RefTNos.imm_binds[0]->Count(), 2);  // the working set is untouched

    ModTNos(*first, 2);  // a transition without dependency record
    EXPECT_EQ(first->imm[0], 1);
    ModTNos(*first, 0);
    EXPECT_EQ(first->imm[0], -1);

    RefTDep = nullptr;
    delete records[0];
}

TEST_F(SmallNet, VectorsRoundTripThroughThePlaces)
{
    EXPECT_EQ(TestNet::Tokens(start, 0), 1);
    EXPECT_EQ(start.size, 1);

    first->Fire();
    Pms fired;
    MakeNewPms(fired);
    EXPECT_EQ(TestNet::Tokens(fired, 0), 0);
    EXPECT_EQ(TestNet::Tokens(fired, 1), 1);

    InitRefPms(fired);
    EXPECT_EQ(p->GetActTmsQuant(), 0);
    EXPECT_EQ(q->GetNewTmsQuant(), 1);
    InitActPms(start);
    EXPECT_EQ(p->GetActTmsQuant(), 1);
    EXPECT_EQ(q->GetActTmsQuant(), 0);
    EXPECT_EQ(q->GetNewTmsQuant(), 1);  // only the actual contents were loaded
    clear_pms(fired);
}

// Incremental loads write only the places that differ from the vector loaded
// before: the places must end up as a full load leaves them, both contents.
TEST_F(SmallNet, IncrementalLoadsLeaveThePlacesAsFullLoadsDo)
{
    Pms fired, twice;
    FiredAndTwice(fired, twice);

    StartLoadRun();
    InitRefPms(start);
    InitRefPms(fired);  // p emptied, q filled
    EXPECT_EQ(p->GetActTmsQuant(), 0);
    EXPECT_EQ(p->GetNewTmsQuant(), 0);
    EXPECT_EQ(q->GetActTmsQuant(), 1);
    EXPECT_EQ(q->GetNewTmsQuant(), 1);
    InitRefPms(twice);  // the same place with other contents
    EXPECT_EQ(q->GetActTmsQuant(), 2);
    EXPECT_EQ(q->GetNewTmsQuant(), 2);
    InitRefPms(start);
    EXPECT_EQ(p->GetNewTmsQuant(), 1);
    EXPECT_EQ(q->GetActTmsQuant(), 0);
    EXPECT_EQ(q->GetNewTmsQuant(), 0);
    EndLoadRun();

    // Outside a run every load is a full one: a change behind the loader's
    // back is overwritten.
    q->GetPlaceHeader()->FireOut(Ms({{0, 3}}).get());
    InitRefPms(start);
    EXPECT_EQ(q->GetNewTmsQuant(), 0);
    clear_pms(fired);
    clear_pms(twice);
}

// The same for the actual contents alone (the loads of the measures): the
// new contents are never written, and a full load of both contents in
// between is not mistaken for the vector loaded last.
TEST_F(SmallNet, IncrementalActualLoadsLeaveThePlacesAsFullLoadsDo)
{
    Pms fired, twice;
    FiredAndTwice(fired, twice);

    StartActLoadRun();
    InitActPms(start);
    InitActPms(fired);  // p emptied, q filled
    EXPECT_EQ(p->GetActTmsQuant(), 0);
    EXPECT_EQ(q->GetActTmsQuant(), 1);
    EXPECT_EQ(p->GetNewTmsQuant(), 1);
    EXPECT_EQ(q->GetNewTmsQuant(), 0);
    InitActPms(twice);  // the same place with other contents
    EXPECT_EQ(q->GetActTmsQuant(), 2);
    InitRefPms(start);  // both contents, behind the run's back
    InitActPms(twice);
    EXPECT_EQ(p->GetActTmsQuant(), 0);
    EXPECT_EQ(q->GetActTmsQuant(), 2);
    InitActPms(start);
    EXPECT_EQ(p->GetActTmsQuant(), 1);
    EXPECT_EQ(q->GetActTmsQuant(), 0);
    EndActLoadRun();
    clear_pms(fired);
    clear_pms(twice);
}

TEST_F(SmallNet, SuccessorsAreHandedToTheQueueWithTheirSets)
{
    Marking source(start);
    SavedMarking = &source;
    NewM = new PendingMarking(start);
    NewD = DelayVal(2.0, kDelayExponential, 1);
    MakeNewSet(0);
    NewM = new PendingMarking(start);
    MakeNewSet();

    MDMSet* entry = GlobalMDMSetList.GetFirst();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->GetLastMarking(), &source);
    EXPECT_NE(entry->GetNewTNos(), nullptr);
    EXPECT_EQ(entry->GetDelay().GetDelayVal(), 2.0);
    ASSERT_NE(entry->GetNext(), nullptr);
    EXPECT_EQ(entry->GetNext()->GetNewTNos(), nullptr);

    GlobalMDMSetList.Clear();
    SavedMarking = nullptr;
    NewM = nullptr;
}

}  // namespace

namespace {

// The vector the installed net's places hold, and the two ways of reading
// a successor's vector after a firing.
struct SuccessorVectors {
    SuccessorVectors()
    {
        MakeActPms(start);
        whole.Prepare();
        fromFired.Prepare();
    }
    ~SuccessorVectors() { clear_pms(start); }
    Pms start;
    NewContentsVector whole, fromFired;
};

void ExpectSameVector(const Pms& got, const Pms& want)
{
    ASSERT_EQ(got.size, want.size);
    for (int k = 0; k < want.size; ++k) {
        EXPECT_EQ(got.places[k].place, want.places[k].place) << k;
        EXPECT_EQ(got.places[k].quant, want.places[k].quant) << k;
        ASSERT_EQ(got.places[k].kinds, want.places[k].kinds) << k;
        for (int e = 0; e < want.places[k].kinds; ++e)
            EXPECT_EQ(got.places[k].entries[e].quant, want.places[k].entries[e].quant) << k;
    }
}

// The successor's vector read from the fired binding's places only is the
// one a pass over every place reads: the places it does not touch (here r,
// before p and after q in place order) come from the vector the places held.
TEST(SuccessorVector, FromTheFiredPlacesIsTheWholeOne)
{
    TestNet net;
    Place* a = net.AddPlace("a", 3);
    Place* p = net.AddPlace("p", 1);
    net.AddPlace("r", 2);
    Place* q = net.AddPlace("q", 0);
    net.AddPlace("z", 5);
    Binding* move = TestNet::NewBinding(Mean(1), TestNet::Arcs({{p, 1}, {a, 1}}),
                                        TestNet::Arcs({{q, 2}}));
    net.AddTransition("e0", TestNet::Exclusive, {move});
    net.Install();
    SuccessorVectors v;

    move->Fire();  // a 2, p empty, q 2
    const Pms& want = v.whole.Make();
    const Pms& got = v.fromFired.MakeAfter(v.start, *move);
    ASSERT_EQ(got.size, 4);
    ExpectSameVector(got, want);
    EXPECT_EQ(TestNet::Tokens(got, 0), 2);
    EXPECT_EQ(TestNet::Tokens(got, 2), 2);
    EXPECT_EQ(TestNet::Tokens(got, 4), 5);
    move->CpyActToNew();
}

// The places of each binding's arcs are found once and kept per binding:
// firings of many bindings in turn, each more than once, get each its own.
TEST(SuccessorVector, EachBindingKeepsItsOwnPlaces)
{
    TestNet net;
    constexpr int kPlaces = 40;
    std::vector<Place*> ring;
    for (int i = 0; i < kPlaces; ++i)
        ring.push_back(net.AddPlace(("r" + std::to_string(i)).c_str(), i % 3));
    std::vector<Binding*> moves;
    for (int i = 0; i < kPlaces; ++i) {
        moves.push_back(TestNet::NewBinding(Mean(1), TestNet::Arcs({{ring[i], 1}}),
                                            TestNet::Arcs({{ring[(i + 7) % kPlaces], 1}})));
        net.AddTransition(("t" + std::to_string(i)).c_str(), TestNet::Exclusive, {moves.back()});
    }
    net.Install();
    SuccessorVectors v;
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < kPlaces; ++i) {
            if (i % 3 == 0) continue;  // its input place is empty
            moves[i]->Fire();
            ExpectSameVector(v.fromFired.MakeAfter(v.start, *moves[i]), v.whole.Make());
            moves[i]->CpyActToNew();
        }
    }
}

}  // namespace
