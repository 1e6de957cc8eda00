#include <gtest/gtest.h>

#include <memory>

#include "Multisets.h"
#include "TestNet.h"
#include "netmodel/ConstVal.h"
#include "netmodel/EnablingSets.h"
#include "netmodel/Exponential.h"
#include "netmodel/General.h"
#include "netmodel/Immediate.h"
#include "netmodel/MarkingVectors.h"
#include "statedata/Marking.h"
#include "statedata/PendingMarking.h"
#include "statedata/NPMarking.h"
#include "statedata/TNos.h"

namespace {

using MarkingPtr = std::unique_ptr<PendingMarking>;

// An exponential delay with the given rate (its mean is the reciprocal).
Exponential Rate(double rate)
{
    ConstVal mean(1.0 / rate);
    return Exponential(&mean);
}

Immediate Weight(double w)
{
    ConstVal weight(w);
    return Immediate(&weight);
}

// Firing by the test is shown by whole runs (the infinite-server case);
// firing a binding known to be enabled, without the test, takes the same rate.
TEST(InfiniteServerFiring, FiringWithoutTheTestMultipliesTheRateByTheEnablingDegree)
{
    TestNet net;
    Place* p = net.AddPlace("p", 3);
    Place* q = net.AddPlace("q", 0);
    Binding* b = TestNet::NewBinding(Rate(2.0), TestNet::Arcs({{p, 1}}), TestNet::Arcs({{q, 1}}));
    net.AddTransition("t", TestNet::Infinite, {b});
    net.Install();

    PendingMarking* succ = nullptr;
    DelayVal dv;
    b->FireInf(nullptr, 7, succ, dv);
    MarkingPtr owned(succ);
    ASSERT_NE(succ, nullptr);
    EXPECT_DOUBLE_EQ(dv.GetDelayVal(), 6.0);
    EXPECT_EQ(dv.GetTransNo(), 7);
    EXPECT_EQ(TestNet::Tokens(succ->GetPms(), 0), 2);
    EXPECT_EQ(TestNet::Tokens(succ->GetPms(), 1), 1);
}

// The enabling degree is the number of times the binding could fire in a
// row: the smallest bound of its input contents and output capacities.
struct DegreeCase {
    const char* what;
    unsigned short pTokens;
    int pCapacity;
    unsigned short take;     // from p, by one arc (two when `twice`)
    bool twice;
    bool backToP;            // the output goes back to p instead of q
    unsigned short give;
    unsigned short qTokens;
    int qCapacity;
    int degree;
};

TEST(InfiniteServerFiring, TheEnablingDegreeIsTheSmallestBoundOfContentsAndCapacities)
{
    const DegreeCase cases[] = {
        {"two of seven tokens at a time", 7, -1, 2, false, false, 1, 0, -1, 3},
        {"the output place fills first", 9, -1, 2, false, false, 1, 1, 3, 2},
        {"the input runs out first", 9, -1, 2, false, false, 1, 1, 9, 4},
        {"a surplus on the input place itself", 3, 6, 1, false, true, 2, 0, -1, 3},
        {"two arcs from one place: the second finds the last token gone", 5, -1, 1, true, false,
         1, 0, -1, 3},
        {"every token of a full 16-bit place", 65535, -1, 1, false, false, 1, 0, -1, 65535},
    };
    for (const DegreeCase& c : cases) {
        TestNet net;
        Place* p = net.AddPlace("p", c.pTokens, c.pCapacity);
        Place* q = net.AddPlace("q", c.qTokens, c.qCapacity);
        PtrList<Arc>* in = c.twice ? TestNet::Arcs({{p, c.take}, {p, c.take}})
                                   : TestNet::Arcs({{p, c.take}});
        PtrList<Arc>* out = TestNet::Arcs({{c.backToP ? p : q, c.give}});
        Binding* b = TestNet::NewBinding(Rate(0.5), in, out);
        net.AddTransition("t", TestNet::Infinite, {b});
        net.Install();

        PendingMarking* succ = nullptr;
        DelayVal dv;
        b->ChkAndFireInf(nullptr, 1, succ, dv);
        MarkingPtr owned(succ);
        ASSERT_NE(succ, nullptr) << c.what;
        EXPECT_DOUBLE_EQ(dv.GetDelayVal(), 0.5 * c.degree) << c.what;
        b->CpyActToNew();
        b->FireInf(nullptr, 1, succ, dv);
        MarkingPtr again(succ);
        EXPECT_DOUBLE_EQ(dv.GetDelayVal(), 0.5 * c.degree) << c.what;
    }
}

// What the enabling degree takes from the arcs is kept between firings,
// but not past a change of an inscription: p holds 6 tokens, taken one at a
// time and then, once the arc is replaced and folded again, two at a time.
TEST(InfiniteServerFiring, TheEnablingDegreeFollowsAChangedInscription)
{
    TestNet net;
    Place* p = net.AddPlace("p", 6);
    Place* q = net.AddPlace("q", 0);
    PtrList<Arc>* in = TestNet::Arcs({{p, 1}});
    Binding* b = TestNet::NewBinding(Rate(1.0), in, TestNet::Arcs({{q, 1}}));
    net.AddTransition("t", TestNet::Infinite, {b});
    net.Install();

    auto degree = [b]() {
        PendingMarking* succ = nullptr;
        DelayVal dv;
        b->ChkAndFireInf(nullptr, 1, succ, dv);
        MarkingPtr owned(succ);
        b->CpyActToNew();
        return dv.GetDelayVal();
    };
    EXPECT_DOUBLE_EQ(degree(), 6.0);
    EXPECT_DOUBLE_EQ(degree(), 6.0) << "the same arcs, asked again";

    Tms* two = new_tms(0, 2);
    ConstVal inscription(two);
    clear_tms(two);
    *in->first->item = Arc(p, &inscription);
    in->first->item->EvalCellVars();
    EXPECT_DOUBLE_EQ(degree(), 3.0);
}

// One infinite-server binding that takes a token from p (holding `tokens`)
// unless output only and puts one on q unless input only, fired with a
// deterministic delay of 5 in hand.
struct InfiniteCase {
    const char* what;
    unsigned short tokens;
    bool general;
    bool inputOnly;
    bool outputOnly;
    bool fires;
    int type;
    double value;  // < 0: above 1
};

TEST(InfiniteServerFiring, DisabledGeneralAndOutputOnlyBindings)
{
    const InfiniteCase cases[] = {
        {"disabled: results untouched", 0, false, true, false, false, kDelayDeterministic, 5.0},
        {"general: no number", 2, true, true, false, true, kDelayGeneral, 1.0},
        {"output only into an unbounded place: stops", 0, false, false, true, true,
         kDelayExponential, -1.0},
    };
    for (const InfiniteCase& c : cases) {
        TestNet net;
        Place* p = net.AddPlace("p", c.tokens);
        Place* q = net.AddPlace("q", 0);
        PtrList<Arc>* in = c.outputOnly ? nullptr : TestNet::Arcs({{p, 1}});
        PtrList<Arc>* out = c.inputOnly ? nullptr : TestNet::Arcs({{q, 1}});
        Binding* b = c.general ? TestNet::NewBinding(General(Str("PMF")), in, out)
                               : TestNet::NewBinding(Rate(2.0), in, out);
        net.AddTransition("t", TestNet::Infinite, {b});
        net.Install();

        PendingMarking* succ = nullptr;
        DelayVal dv(5.0, kDelayDeterministic);
        b->ChkAndFireInf(nullptr, 1, succ, dv);
        MarkingPtr owned(succ);
        EXPECT_EQ(succ != nullptr, c.fires) << c.what;
        EXPECT_EQ(dv.GetDelayType(), c.type) << c.what;
        if (c.value < 0)
            EXPECT_GT(dv.GetDelayVal(), 1.0) << c.what;
        else
            EXPECT_EQ(dv.GetDelayVal(), c.value) << c.what;
    }
}

TEST(BindingEnabling, InputOnlyNeverTestsCapacityOutputOnlyNeverTestsContents)
{
    TestNet net;
    Place* over = net.AddPlace("over", 5, 1);  // holds more than its capacity
    Place* empty = net.AddPlace("empty", 0);
    Place* full = net.AddPlace("full", 2, 2);
    Binding* take = TestNet::NewBinding(Weight(1), TestNet::Arcs({{over, 1}}), nullptr);
    Binding* put = TestNet::NewBinding(Weight(1), nullptr, TestNet::Arcs({{empty, 1}}));
    Binding* overfill = TestNet::NewBinding(Weight(1), nullptr, TestNet::Arcs({{full, 1}}));
    net.AddTransition("t", TestNet::Immediates, {take, put, overfill});
    net.Install();

    EXPECT_TRUE(take->IsActEnabled());
    EXPECT_EQ(take->ChkAndFireImm(), 1.0);
    EXPECT_TRUE(put->IsActEnabled());
    EXPECT_EQ(put->ChkAndFireImm(), 1.0);
    EXPECT_FALSE(overfill->IsActEnabled());
    EXPECT_EQ(overfill->ChkAndFireImm(), 0.0);
}

TEST(BindingEnabling, PlaceOnBothSidesOnlyNeedsRoomForTheSurplus)
{
    TestNet net;
    Place* p = net.AddPlace("p", 2, 2);
    Binding* keep =
        TestNet::NewBinding(Weight(1), TestNet::Arcs({{p, 1}}), TestNet::Arcs({{p, 1}}));
    Binding* grow =
        TestNet::NewBinding(Weight(1), TestNet::Arcs({{p, 1}}), TestNet::Arcs({{p, 2}}));
    net.AddTransition("t", TestNet::Immediates, {keep, grow});
    net.Install();

    EXPECT_TRUE(keep->IsActEnabled());
    EXPECT_FALSE(grow->IsActEnabled());
}

TEST(BindingEnabling, LocalConditionAndContentsOnTheNewMarking)
{
    TestNet net;
    Place* p = net.AddPlace("p", 1);
    Binding* b =
        TestNet::NewBinding(Weight(1), TestNet::Arcs({{p, 1}}), nullptr, 1.0, Condition(false));
    Binding* c = TestNet::NewBinding(Weight(2), TestNet::Arcs({{p, 1}}), nullptr);
    net.AddTransition("t", TestNet::Immediates, {b, c});
    net.Install();

    EXPECT_FALSE(b->IsActEnabled());
    EXPECT_EQ(c->VirtualFire(), 2.0);
    EXPECT_EQ(c->VirtualFire(), 0.0);  // the one token is taken already
    EXPECT_TRUE(c->IsActEnabled());
    EXPECT_FALSE(c->IsNewEnabled());
}

// The weights of the enabled bindings as branching probabilities, and the
// binding numbers that count the disabled ones, are an end-to-end case.
TEST(ExclusiveActivation, FalseGuardOrNoEnabledBindingGivesNoBranch)
{
    TestNet net;
    Place* p = net.AddPlace("p", 0);
    Binding* b = TestNet::NewBinding(Rate(1), TestNet::Arcs({{p, 1}}), nullptr);
    Binding* c = TestNet::NewBinding(Rate(1), nullptr, TestNet::Arcs({{p, 1}}));
    Transition* disabled = net.AddTransition("t", TestNet::Exclusive, {b});
    Transition* guarded = net.AddTransition("u", TestNet::Exclusive, {c}, Condition(false));
    net.Install();

    exc_marks root;
    root.used = 1;
    EXPECT_FALSE(disabled->ChkAndActExc(root));
    EXPECT_FALSE(guarded->ChkAndActExc(root));
    EXPECT_EQ(root.more, nullptr);
}

TEST(ExclusiveFiring, ActiveBindingFiresOnTheNewContentsUntilReset)
{
    TestNet net;
    Place* p = net.AddPlace("p", 1);
    Place* q = net.AddPlace("q", 0, 1);
    Binding* move =
        TestNet::NewBinding(Rate(4.0), TestNet::Arcs({{p, 1}}), TestNet::Arcs({{q, 1}}));
    Binding* flood =
        TestNet::NewBinding(Rate(1.0), TestNet::Arcs({{p, 1}}), TestNet::Arcs({{q, 2}}));
    Transition* t = net.AddTransition("t", TestNet::Exclusive, {move, flood});
    net.Install();

    short ata[] = {1};
    double value = 0.0;
    Binding* fired = t->FireActive(ata, value);
    ASSERT_EQ(fired, move);
    EXPECT_DOUBLE_EQ(value, 4.0);
    EXPECT_EQ(q->GetNewTmsQuant(), 1);  // the successor, until reset
    MarkingPtr succ(MakeSuccessorMarking(ata, t->GetNo()));
    EXPECT_EQ(TestNet::Tokens(succ->GetPms(), 1), 1);
    EXPECT_EQ(succ->GetAta(), nullptr);  // p is empty: nothing stays active
    fired->CpyActToNew();
    EXPECT_EQ(q->GetNewTmsQuant(), 0);

    ata[0] = 2;  // the second binding overfills q
    fired = t->FireActive(ata, value);
    EXPECT_EQ(fired, flood);
    EXPECT_EQ(value, 0.0);
    fired->CpyActToNew();
    EXPECT_EQ(q->GetNewTmsQuant(), 0);
}

TEST(ActiveTransitionArray, EntriesStayOnlyWhileTheirBindingIsEnabled)
{
    TestNet net;
    Place* p = net.AddPlace("p", 1);
    Place* q = net.AddPlace("q", 1);
    Binding* fromP = TestNet::NewBinding(Rate(1), TestNet::Arcs({{p, 1}}), nullptr);
    Binding* fromQ = TestNet::NewBinding(Rate(1), TestNet::Arcs({{q, 1}}), nullptr);
    net.AddTransition("t1", TestNet::Exclusive, {fromP});
    net.AddTransition("t2", TestNet::Exclusive, {fromQ});
    net.Install();

    short ata[] = {1, 1};
    q->GetPlaceHeader()->FireIn(Ms({{0, 1}}).get());
    short* fresh = MakeNewAta(ata);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh[0], 1);
    EXPECT_EQ(fresh[1], 0);
    clear_ata(fresh);

    p->GetPlaceHeader()->Init();
    EXPECT_EQ(MakeNewAta(ata), nullptr);
    EXPECT_EQ(MakeNewAta(nullptr), nullptr);
}

TEST(ActiveTransitionArray, ByDependenciesOnlyWhatTheFiredOneMayDisableIsTestedAgain)
{
    TestNet net;
    Place* p = net.AddPlace("p", 1);
    Place* q = net.AddPlace("q", 1);
    net.AddTransition("t1", TestNet::Exclusive,
                      {TestNet::NewBinding(Rate(1), TestNet::Arcs({{p, 1}}), nullptr)});
    net.AddTransition("t2", TestNet::Exclusive,
                      {TestNet::NewBinding(Rate(1), TestNet::Arcs({{q, 1}}), nullptr)});
    net.Install();
    // t1 may disable itself; t2's firing is said to disable nothing.
    SetAtaRefreshByDependencies({{0}, {}});

    short ata[] = {1, 1};
    p->GetPlaceHeader()->Init();
    q->GetPlaceHeader()->Init();
    short* fresh = MakeNewAta(ata, 0);  // t1 fired: t2 is not tested
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh[0], 0);
    EXPECT_EQ(fresh[1], 1);
    clear_ata(fresh);
    fresh = MakeNewAta(ata, 1);  // t2 fired: neither is tested
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh[0], 1);
    EXPECT_EQ(fresh[1], 1);
    clear_ata(fresh);
    EXPECT_EQ(MakeNewAta(ata), nullptr);  // fired transition unknown: all tested

    SetAtaRefreshByDependencies({});
    EXPECT_EQ(MakeNewAta(ata, 0), nullptr);
    EXPECT_EQ(MakeNewAta(ata, 1), nullptr);
}

TEST(ImmediateFiring, EveryEnabledBindingUnderATrueGuardGivesAVanishingSuccessor)
{
    TestNet net;
    Place* p = net.AddPlace("p", 1);
    Place* a = net.AddPlace("a", 0);
    Place* b = net.AddPlace("b", 0);
    Binding* toA = TestNet::NewBinding(Weight(1), TestNet::Arcs({{p, 1}}), TestNet::Arcs({{a, 1}}));
    Binding* toB = TestNet::NewBinding(Weight(3), TestNet::Arcs({{p, 1}}), TestNet::Arcs({{b, 1}}));
    Transition* t = net.AddTransition("t", TestNet::Immediates, {toA, toB});
    Binding* guarded = TestNet::NewBinding(Weight(1), TestNet::Arcs({{p, 1}}), nullptr);
    Transition* u = net.AddTransition("u", TestNet::Immediates, {guarded}, Condition(false));
    net.Install();

    PtrList<NPMarking>* list = nullptr;
    double sum = 0.0;
    ASSERT_TRUE(t->ChkAndFireImm(list, sum, 0));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(sum, 4.0);
    ASSERT_EQ(list->count, 2);
    EXPECT_EQ(list->GetLE(1)->GetDelayVal(), 1.0);
    EXPECT_EQ(list->GetLE(2)->GetDelayVal(), 3.0);
    EXPECT_EQ(TestNet::Tokens(list->GetLE(1)->GetPms(), 1), 1);
    EXPECT_EQ(TestNet::Tokens(list->GetLE(2)->GetPms(), 2), 1);
    EXPECT_EQ(RefTNos.imm_binds[0]->Count(), 2);

    // Firing the recorded bindings again without tests gives the same.
    PtrList<NPMarking>* again = nullptr;
    double sumAgain = 0.0;
    EXPECT_TRUE(t->FireImm(again, sumAgain, 0));
    EXPECT_EQ(sumAgain, 4.0);
    EXPECT_EQ(again->count, 2);

    // A false guard fires nothing.
    PtrList<NPMarking>* none = nullptr;
    double zero = 0.0;
    EXPECT_FALSE(u->ChkAndFireImm(none, zero, 1));
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(zero, 0.0);

    for (auto* l : {list, again}) {
        l->HardClear();
        delete l;
    }
}

}  // namespace
