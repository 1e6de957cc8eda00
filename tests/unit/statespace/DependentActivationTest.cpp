// The exclusive transitions activated after a firing, where only those the
// firing can enable, and those active before, are tested: a firing enables
// a transition through its guard as well as through its inputs, through any
// of its bindings, and through an immediate firing after it; a transition
// whose active binding it takes keeps its other bindings. Each net starts
// with a firing of `go`, so that the firings that matter are made from
// markings explored after the first, on counts. The graphs are worked out
// by hand; the atas list the exclusive transitions in the order added.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "GraphInspection.h"
#include "TestNet.h"
#include "netmodel/BinaerOp.h"
#include "netmodel/ConstVal.h"
#include "netmodel/Function.h"
#include "statedata/NetCounts.h"
#include "statedata/StateSpaceGlobals.h"
#include "statespace/CreateRRG.h"
#include "statespace/DependentTransitions.h"

namespace {

using Atas = std::vector<std::vector<short>>;

// The atas of the stored markings with these tokens (one per place, in
// place order), in ascending order, a marking without ata as zeros.
Atas AtasAt(const std::vector<int>& tokens)
{
    Atas atas;
    for (Marking* m : StoredMarkings()) {
        std::vector<int> have(tokens.size(), 0);
        const Pms& pms = m->GetPms();
        for (int k = 0; k < pms.size; ++k) have.at(static_cast<std::size_t>(pms.places[k].place)) = pms.places[k].quant;
        if (have != tokens) continue;
        std::vector<short> ata = AtaOf(*m);
        ata.resize(no_of_exc_transitions, 0);
        atas.push_back(ata);
    }
    std::sort(atas.begin(), atas.end());
    return atas;
}

// q must be empty (a test for zero, as an inhibitor arc would make it).
Condition Empty(Place* q)
{
    const std::unique_ptr<Cell> zero(new BinaerOp(
        EqualOp, new Function(CountOp, q->GetPlaceHeader(), nullptr), new ConstVal(0.0), AdoptOperands{}));
    return Condition(zero.get());
}

// go puts a token on q, a and b; t takes q's to r; w takes a's to s and the
// immediate v b's to c, both only once q is empty. t's firing takes tokens
// only, yet enables v, and then w.
TEST(DependentActivation, FiringThatEmptiesAPlaceEnablesWhatItsGuardKeptOut)
{
    TestNet net;
    Place* go = net.AddPlace("go", 1);
    Place* q = net.AddPlace("q");
    Place* a = net.AddPlace("a");
    Place* r = net.AddPlace("r");
    Place* s = net.AddPlace("s");
    Place* b = net.AddPlace("b");
    Place* c = net.AddPlace("c");
    net.Add("go", {{{{go, 1}}, {{q, 1}, {a, 1}, {b, 1}}, Exp(1.0)}});
    net.Add("t", {{{{q, 1}}, {{r, 1}}, Exp(2.0)}});
    net.Add("w", {{{{a, 1}}, {{s, 1}}, Exp(3.0)}})->GetGlobalCond() = Empty(q);
    net.Add("v", {{{{b, 1}}, {{c, 1}}, Imm(1.0)}})->GetGlobalCond() = Empty(q);
    net.Finish();
    CreateRRG();

    EXPECT_EQ(AtasAt({0, 1, 1, 0, 0, 1, 0}), (Atas{{0, 1, 0}}));
    EXPECT_EQ(AtasAt({0, 0, 1, 1, 0, 1, 0}), Atas{}) << "v fires once t emptied q";
    EXPECT_EQ(AtasAt({0, 0, 1, 1, 0, 0, 1}), (Atas{{0, 0, 1}})) << "and w is enabled";
    EXPECT_EQ(AtasAt({0, 0, 0, 1, 1, 0, 1}), (Atas{{0, 0, 0}}));
    EXPECT_EQ(MHash.GetCounter(), 4u);
}

// t's first binding takes p's token to x, its second y's to p, where k
// takes it to z. After go, only the second is enabled; its firing enables
// the first binding and k.
TEST(DependentActivation, AnyBindingOfTheFiredTransitionMayEnable)
{
    TestNet net;
    Place* go = net.AddPlace("go", 1);
    Place* p = net.AddPlace("p");
    Place* y = net.AddPlace("y");
    Place* x = net.AddPlace("x");
    Place* z = net.AddPlace("z");
    net.Add("go", {{{{go, 1}}, {{y, 1}}, Exp(1.0)}});
    net.Add("t", {{{{p, 1}}, {{x, 1}}, Exp(1.0)}, {{{y, 1}}, {{p, 1}}, Exp(2.0)}});
    net.Add("k", {{{{p, 1}}, {{z, 1}}, Exp(3.0)}});
    net.Add("i", {{{{go, 4}}, {{go, 1}}, Imm(1.0)}});
    net.Finish();
    CreateRRG();

    EXPECT_EQ(AtasAt({0, 0, 1, 0, 0}), (Atas{{0, 2, 0}}));
    EXPECT_EQ(AtasAt({0, 1, 0, 0, 0}), (Atas{{0, 1, 1}})) << "t's first binding and k enabled by its second";
    EXPECT_EQ(MHash.GetCounter(), 5u);
}

// k takes p's token (binding 1) or q's (binding 2), with equal weights; t
// takes p's token too. Where k chose p, t's firing disables that binding,
// enables nothing, and k goes on with q's.
TEST(DependentActivation, TransitionLosingItsActiveBindingTakesAnother)
{
    TestNet net;
    Place* go = net.AddPlace("go", 1);
    Place* p = net.AddPlace("p");
    Place* q = net.AddPlace("q");
    Place* x = net.AddPlace("x");
    Place* e = net.AddPlace("e");
    net.Add("go", {{{{go, 1}}, {{p, 1}, {q, 1}}, Exp(1.0)}});
    net.Add("k", {{{{p, 1}}, {{x, 1}}, Exp(1.0)}, {{{q, 1}}, {{x, 1}}, Exp(1.0)}});
    net.Add("t", {{{{p, 1}}, {{e, 1}}, Exp(2.0)}});
    net.Add("i", {{{{go, 4}}, {{go, 1}}, Imm(1.0)}});
    net.Finish();
    CreateRRG();

    EXPECT_EQ(AtasAt({0, 1, 1, 0, 0}), (Atas{{0, 1, 1}, {0, 2, 1}}));
    EXPECT_EQ(AtasAt({0, 0, 1, 0, 1}), (Atas{{0, 2, 0}})) << "k keeps, or takes again, q's binding";
}

// go puts two tokens on a; t takes one to b, from where the immediate j
// moves it to c; w needs a and c. t alone takes from w's places, j gives to
// them: the two together enable w, and t stays enabled.
TEST(DependentActivation, ImmediateFiringAfterATimedOneMayEnable)
{
    TestNet net;
    Place* go = net.AddPlace("go", 1);
    Place* a = net.AddPlace("a");
    Place* b = net.AddPlace("b");
    Place* c = net.AddPlace("c");
    Place* e = net.AddPlace("e");
    net.Add("go", {{{{go, 1}}, {{a, 2}}, Exp(1.0)}});
    net.Add("t", {{{{a, 1}}, {{b, 1}}, Exp(1.0)}});
    net.Add("j", {{{{b, 1}}, {{c, 1}}, Imm(1.0)}});
    net.Add("w", {{{{a, 1}, {c, 1}}, {{e, 1}}, Exp(2.0)}});
    net.Finish();
    CreateRRG();

    EXPECT_EQ(AtasAt({0, 2, 0, 0, 0}), (Atas{{0, 1, 0}}));
    EXPECT_EQ(AtasAt({0, 1, 0, 1, 0}), (Atas{{0, 1, 1}})) << "t still, and w, enabled after t and j";
    EXPECT_EQ(AtasAt({0, 0, 0, 2, 0}), (Atas{{0, 0, 0}}));
    EXPECT_EQ(AtasAt({0, 0, 0, 0, 1}), (Atas{{0, 0, 0}}));
    EXPECT_EQ(MHash.GetCounter(), 5u);
}

// What the dependents of a firing are said to allow where counts do not
// tell: an output that reads the marking, or a bound that a firing can
// make room under, may enable and disable every dependent.
TEST(DependentActivation, InscriptionsReadingTheMarkingAndBoundsRuleNothingOut)
{
    for (bool bounded : {false, true}) {
        TestNet net;
        Place* p = net.AddPlace("p", 1);
        Place* q = net.AddPlace("q", 0, bounded ? 3 : TestNet::kUnbounded);
        Place* n = net.AddPlace("n", 2);
        Transition* t = net.Add("t", {{{{p, 1}}, {{q, 1}}, Exp(1.0)}});
        net.Add("u", {{{{q, 1}}, {{p, 1}}, Exp(1.0)}});
        net.Add("v", {{{{p, 1}}, {{q, 1}}, Exp(1.0)}});
        net.Finish();
        SortDependents(true);
        auto flags = [&] {
            std::vector<std::vector<bool>> all;
            for (const DependentExclusive& d : DependentExclusives(t->GetNo()))
                all.push_back({d.mayEnable, d.mayDisable});
            return all;
        };
        if (bounded) {
            EXPECT_EQ(flags(), (std::vector<std::vector<bool>>(3, {true, true})));
            continue;
        }
        // t and v take from p, u from q, where t gives.
        EXPECT_EQ(flags(), (std::vector<std::vector<bool>>{{false, true}, {true, false}, {false, true}}));
        // t's output as many tokens as n holds.
        Arc& out = *t->GetBindings()->first->item->GetOutArcs()->first->item;
        Function tokensOnN(CountOp, n->GetPlaceHeader(), nullptr);
        out = Arc(q, &tokensOnN);
        SortDependents(true);
        EXPECT_EQ(flags(), (std::vector<std::vector<bool>>(3, {true, true})));
    }
}

}  // namespace
