// Activation of exclusive transitions on flat counts, and the refresh of an
// ata there, against the same on the places: guards on counts (of the
// transition and of its bindings), several inputs on one place, an empty
// inscription and unequal weights must give the same enabling, the same
// branches and the same refreshed ata on every marking, including empty and
// full places.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "CountVector.h"
#include "TestNet.h"
#include "netmodel/BinaerOp.h"
#include "netmodel/ConstVal.h"
#include "netmodel/EnablingSets.h"
#include "netmodel/Function.h"
#include "netmodel/MarkingVectors.h"
#include "netmodel/NetArrays.h"
#include "netmodel/PlainImmediates.h"
#include "statedata/NetCounts.h"
#include "statespace/Activation.h"
#include "statespace/DependentTransitions.h"
#include "statespace/GenerationState.h"

namespace {

Cell* Count(Place* p) { return new Function(CountOp, p->GetPlaceHeader(), nullptr); }
Cell* Constant(double v) { return new ConstVal(v); }
Cell* Binary(Operator op, Cell* l, Cell* r) { return new BinaerOp(op, l, r, AdoptOperands{}); }

// The condition of `c`, which it takes over.
Condition Guard(Cell* c)
{
    std::unique_ptr<Cell> owned(c);
    return Condition(owned.get());
}

Binding& BindingOf(Transition* t, int k) { return *t->GetBindings()->GetLE(k); }

// The branches of the last activation: each one's ata and probability.
std::vector<std::pair<std::vector<short>, double>> Branches()
{
    std::vector<std::pair<std::vector<short>, double>> all;
    for (const ActivationBranch& b : ActivatedBranches())
        all.emplace_back(std::vector<short>(b.ata, b.ata + no_of_exc_transitions), b.value.GetDelayVal());
    return all;
}

// An ata's entries, none for a null ata.
std::vector<short> AtaOf(const short* ata)
{
    return ata ? std::vector<short>(ata, ata + no_of_exc_transitions) : std::vector<short>();
}

// Finishes the net and compiles it on counts, the exclusive transitions'
// enabling included.
void FinishOnCounts(TestNet& net, PlainImmediates& counts)
{
    net.Finish();
    PrepareActivation();
    ASSERT_TRUE(counts.Compile(64));
    ASSERT_TRUE(counts.ExclusivesUsable());
}

TEST(CountedActivation, EnablingAndBranchesOnCountsAreThoseOnThePlaces)
{
    TestNet net;
    Place* a = net.AddPlace("a", 1);
    Place* b = net.AddPlace("b");
    Place* c = net.AddPlace("c");
    net.Add("i", {{{{c, 4}}, {{a, 1}}, Imm(1.0)}});
    // A batch: one binding per count of its input place, each guarded by it.
    Transition* batch = net.Add("batch", {{{{a, 1}}, {{b, 1}}, Exp(1.0)}, {{{a, 2}}, {{b, 2}}, Exp(1.0)}});
    BindingOf(batch, 1).GetLocalCond() = Guard(Binary(EqualOp, Count(a), Constant(1)));
    BindingOf(batch, 2).GetLocalCond() = Guard(Binary(EqualOp, Count(a), Constant(2)));
    // A guarded transition with a choice of weights 1 and 3, two inputs on
    // one place, and a binding that can never take its empty inscription.
    Transition* choice = net.Add("choice", {{{{b, 1}}, {{c, 1}}, Exp(1.0), 1.0},
                                            {{{b, 1}, {b, 2}}, {{a, 1}}, Exp(1.0), 3.0},
                                            {{{c, 0}}, {{a, 1}}, Exp(1.0), 2.0}});
    choice->GetGlobalCond() =
        Guard(Binary(OrOp, Binary(LessOp, Count(a), Count(c)), Binary(GreaterOp, Count(b), Constant(2))));
    net.Add("free", {{{{c, 1}}, {{b, 1}}, Exp(1.0)}, {{}, {{c, 1}}, Exp(2.0), 0.5}});
    PlainImmediates counts;
    ASSERT_NO_FATAL_FAILURE(FinishOnCounts(net, counts));
    std::vector<std::uint16_t> flat(counts.Words());
    const std::vector<DependentExclusive>& all = AllExclusives();
    const std::vector<short> someActive{0, 1, 0};
    // Every binding of each transition active, for the refresh of an ata.
    const std::vector<std::vector<short>> activeEntries{{1, 1, 1}, {2, 2, 2}, {0, 3, 0}};
    const std::vector<unsigned short> values{0, 1, 2, 3, 65535};
    int branched = 0;
    int ruledOut = 0;  // transitions ruled out before their bindings are tested
    for (unsigned short x : values)
        for (unsigned short y : values)
            for (unsigned short z : values) {
                const std::string at = std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(z);
                CountVector marking({x, y, z});
                counts.Flatten(marking.pms, flat.data());
                InitRefPms(marking.pms);
                for (unsigned short i = 0; i < no_of_exc_transitions; ++i) {
                    Transition& t = *ExcTrans[i];
                    ASSERT_EQ(counts.ExclusiveHolds(i, flat.data()), t.IsActEnabled()) << i << " at " << at;
                    const bool may = counts.ExclusiveMayBeEnabled(i, flat.data());
                    ruledOut += !may;
                    std::size_t k = 0;
                    for (PLElement<Binding>* e = t.GetBindings()->first; e; e = e->next, ++k) {
                        ASSERT_EQ(counts.ExclusiveEnabled(i, k, flat.data()), e->item->IsActEnabled())
                            << i << "/" << k << " at " << at;
                        ASSERT_TRUE(may || !e->item->IsActEnabled()) << i << "/" << k << " ruled out at " << at;
                    }
                }
                for (const std::vector<short>& ata : activeEntries) {
                    short* onPlaces = MakeNewAta(ata.data(), -1);
                    std::vector<short> onCounts(no_of_exc_transitions, -7);
                    std::vector<unsigned> active;
                    for (unsigned i = 0; i < ata.size(); ++i)
                        if (ata[i] != 0) active.push_back(i);
                    if (!MakeNewAtaOnCounts(ata.data(), active, -1, counts, flat.data(), onCounts.data()))
                        onCounts.clear();
                    EXPECT_EQ(onCounts, AtaOf(onPlaces)) << "at " << at;
                    clear_ata(onPlaces);
                }
                for (const short* start : {static_cast<const short*>(nullptr), someActive.data()}) {
                    Activate(start, nullptr, all, false);
                    auto onPlaces = Branches();
                    ActivateOnCounts(start, nullptr, all, counts, flat.data());
                    EXPECT_EQ(Branches(), onPlaces) << "at " << at;
                    branched += onPlaces.size() > 1;
                }
            }
    EXPECT_GT(branched, 10);
    // The batch wherever a is empty, the choice wherever b is; never the
    // transition with a binding of no inputs.
    EXPECT_EQ(ruledOut, 2 * 25);
}

// The combinations of an activation on counts against their closed forms:
// each is the start's entries with one enabled binding per activated
// transition, its probability the product of weight / enabled weight over
// the choices, the first transition varying slowest. A single combination
// must neither keep entries of an earlier activation nor lose the start's.
TEST(CountedActivation, CombinationsAreTheStartWithOneChoicePerTransition)
{
    TestNet net;
    Place* a = net.AddPlace("a");
    Place* b = net.AddPlace("b");
    Place* c = net.AddPlace("c");
    Place* d = net.AddPlace("d");
    net.Add("i", {{{{d, 4}}, {{d, 1}}, Imm(1.0)}});
    // Weights 2 and 2, the second binding only with two tokens in a.
    net.Add("first", {{{{a, 1}}, {{d, 1}}, Exp(1.0), 2.0}, {{{a, 2}}, {{d, 1}}, Exp(1.0), 2.0}});
    // Weights 1 and 3 on the same input.
    net.Add("second", {{{{b, 1}}, {{d, 1}}, Exp(1.0), 1.0}, {{{b, 1}}, {{d, 1}}, Exp(1.0), 3.0}});
    net.Add("third", {{{{c, 1}}, {{d, 1}}, Exp(1.0), 5.0}});
    PlainImmediates counts;
    ASSERT_NO_FATAL_FAILURE(FinishOnCounts(net, counts));
    std::vector<std::uint16_t> flat(counts.Words());
    auto activate = [&](std::vector<unsigned short> marking, const short* start,
                        const std::vector<unsigned short>& candidates) {
        marking.push_back(0);
        counts.Flatten(CountVector(marking).pms, flat.data());
        std::vector<DependentExclusive> enableable;
        for (unsigned short i : candidates) enableable.push_back(DependentExclusive{i, true, true});
        return ActivateOnCounts(start, nullptr, enableable, counts, flat.data());
    };
    using Expected = std::vector<std::pair<std::vector<short>, double>>;
    const std::vector<unsigned short> all{0, 1, 2};

    ASSERT_TRUE(activate({2, 1, 1}, nullptr, all));
    EXPECT_EQ(Branches(), (Expected{{{1, 1, 1}, 0.5 * 0.25},
                                    {{1, 2, 1}, 0.5 * 0.75},
                                    {{2, 1, 1}, 0.5 * 0.25},
                                    {{2, 2, 1}, 0.5 * 0.75}}));
    ASSERT_TRUE(activate({1, 1, 0}, nullptr, all));
    EXPECT_EQ(Branches(), (Expected{{{1, 1, 0}, 0.25}, {{1, 2, 0}, 0.75}}));
    // One binding left per transition: a single branch, certain.
    ASSERT_TRUE(activate({1, 0, 1}, nullptr, all));
    EXPECT_EQ(Branches(), (Expected{{{1, 0, 1}, 1.0}}));
    // Active entries stay as the start has them, enabled or not; only the
    // candidates are activated.
    const std::vector<short> secondActive{0, 2, 0};
    ASSERT_TRUE(activate({2, 0, 1}, secondActive.data(), all));
    EXPECT_EQ(Branches(), (Expected{{{1, 2, 1}, 0.5}, {{2, 2, 1}, 0.5}}));
    ASSERT_TRUE(activate({1, 0, 1}, secondActive.data(), all));
    EXPECT_EQ(Branches(), (Expected{{{1, 2, 1}, 1.0}}));
    const std::vector<short> firstActive{2, 0, 0};
    ASSERT_TRUE(activate({1, 1, 1}, firstActive.data(), {1}));
    EXPECT_EQ(Branches(), (Expected{{{2, 1, 0}, 0.25}, {{2, 2, 0}, 0.75}}));
    ASSERT_TRUE(activate({1, 1, 1}, firstActive.data(), {2}));
    EXPECT_EQ(Branches(), (Expected{{{2, 0, 1}, 1.0}}));
    // Nothing enabled among the candidates: no branch.
    EXPECT_FALSE(activate({0, 0, 0}, nullptr, all));
    EXPECT_TRUE(ActivatedBranches().empty());
    EXPECT_FALSE(activate({1, 1, 1}, firstActive.data(), {0}));
    EXPECT_TRUE(ActivatedBranches().empty());
}

// After a timed firing only the entries of the transitions the firing may
// disable are tested again: one that takes from a place the firing takes
// from, or whose guard counts a place it changes. What it only gives to, or
// merely produces into, keeps its entry untested. The refresh after each
// firing, from every marking of a small grid and with every transition
// active on an enabled binding, must keep exactly the entries whose binding
// is still enabled.
TEST(CountedActivation, RefreshAfterAFiringTestsOnlyWhatItMayDisable)
{
    TestNet net;
    Place* a = net.AddPlace("a");
    Place* b = net.AddPlace("b");
    Place* c = net.AddPlace("c");
    Place* d = net.AddPlace("d");
    Transition* t = net.Add("t", {{{{a, 1}}, {{b, 1}}, Exp(1.0)}});
    Transition* u = net.Add("u", {{{{b, 1}}, {{c, 1}}, Exp(1.0)}});
    Transition* v = net.Add("v", {{{{a, 1}}, {{c, 1}}, Exp(1.0)}});
    Transition* w = net.Add("w", {{{{c, 1}}, {{d, 1}}, Exp(1.0)}});
    w->GetGlobalCond() = Guard(Binary(LessOp, Count(b), Constant(2)));
    Transition* x = net.Add("x", {{{{a, 1}}, {{d, 1}}, Exp(1.0)}, {{{b, 1}}, {{d, 1}}, Exp(1.0)}});
    Transition* s = net.Add("s", {{{{c, 1}}, {{a, 1}}, Exp(1.0)}}, InfiniteServer);
    Transition* i = net.Add("i", {{{{d, 4}}, {{d, 1}}, Imm(1.0)}});
    PlainImmediates counts;
    ASSERT_NO_FATAL_FAILURE(FinishOnCounts(net, counts));
    ASSERT_TRUE(counts.TimedUsable());
    ASSERT_TRUE(AtaRefreshByDependencies());

    // By hand, in class order t, u, v, w, x: t takes from a and gives to b,
    // which w's guard counts; u takes from b; v from a; w from c; x from a
    // and b; s from c; i only from d, which no timed transition takes from.
    const std::vector<std::vector<unsigned short>> lists = DisablableExclusives();
    using List = std::vector<unsigned short>;
    auto of = [&lists](const Transition* tr) { return lists.at(static_cast<std::size_t>(tr->GetNo() - 1)); };
    EXPECT_EQ(of(t), (List{0, 2, 3, 4}));
    EXPECT_EQ(of(u), (List{1, 3, 4}));
    EXPECT_EQ(of(v), (List{0, 2, 4}));
    EXPECT_EQ(of(w), (List{3}));
    EXPECT_EQ(of(x), (List{0, 1, 2, 3, 4}));
    EXPECT_EQ(of(s), (List{3}));
    EXPECT_EQ(of(i), List{});

    std::vector<std::uint16_t> from(counts.Words()), to(counts.Words());
    const unsigned n = no_of_exc_transitions;
    int keptUntested = 0;
    int dropped = 0;
    // The refresh of `ata` (active entries `active`) on `to` after a firing
    // of transition number transNo: each entry kept where its binding is
    // enabled on `to`, none when no entry is.
    auto compare = [&](const std::vector<short>& ata, const std::vector<unsigned>& active, int transNo,
                       const std::string& at) {
        std::vector<short> expected(n, 0);
        for (unsigned e : active) {
            const bool enabled = counts.ExclusiveActive(static_cast<unsigned short>(e), ata[e], to.data());
            expected[e] = enabled ? ata[e] : 0;
            dropped += !enabled;
        }
        if (std::all_of(expected.begin(), expected.end(), [](short entry) { return entry == 0; }))
            expected.clear();
        std::vector<short> known(n, -7);
        if (!MakeNewAtaOnCounts(ata.data(), active, static_cast<short>(transNo - 1), counts, to.data(),
                                known.data()))
            known.clear();
        EXPECT_EQ(known, expected) << "after " << transNo << " at " << at;
        const List& tested = lists.at(static_cast<std::size_t>(transNo - 1));
        for (unsigned e : active) keptUntested += std::find(tested.begin(), tested.end(), e) == tested.end();
    };
    for (unsigned short ta = 0; ta < 3; ++ta)
        for (unsigned short tb = 0; tb < 3; ++tb)
            for (unsigned short tc = 0; tc < 3; ++tc)
                for (bool lastBinding : {false, true}) {
                    const std::string at = std::to_string(ta) + "," + std::to_string(tb) + "," +
                                           std::to_string(tc) + (lastBinding ? " last" : " first");
                    counts.Flatten(CountVector({ta, tb, tc, 0}).pms, from.data());
                    // Each transition active on its first, or last, enabled binding.
                    std::vector<short> ata(n, 0);
                    std::vector<unsigned> active;
                    for (unsigned short e = 0; e < n; ++e) {
                        counts.ExclusiveEnabledBindings(e, from.data(), [&](short binding, double) {
                            if (ata[e] == 0 || lastBinding) ata[e] = binding;
                        });
                        if (ata[e] != 0) active.push_back(e);
                    }
                    for (unsigned e : active) {
                        ASSERT_NE(counts.FireExclusive(static_cast<unsigned short>(e), ata[e], from.data(),
                                                       to.data()).binding, nullptr);
                        compare(ata, active, ExcTrans[e]->GetNo(), at);
                    }
                    int degree = 0;
                    if (counts.FireInfinite(0, 0, from.data(), to.data(), degree).value != 0.0)
                        compare(ata, active, s->GetNo(), at);
                }
    EXPECT_GT(keptUntested, 50);
    EXPECT_GT(dropped, 20);
}

// A count restricted to colours, or a guard that is not a plain number,
// leaves the exclusive transitions to the places while the immediate ones
// still fire on counts.
TEST(CountedActivation, FilteredCountsAndOtherGuardsStayOnThePlaces)
{
    for (bool filtered : {true, false}) {
        TestNet net;
        Place* a = net.AddPlace("a", 1);
        Place* b = net.AddPlace("b");
        net.Add("i", {{{{b, 2}}, {{a, 1}}, Imm(1.0)}});
        Transition* t = net.Add("t", {{{{a, 1}}, {{b, 1}}, Exp(1.0)}});
        if (filtered) {
            Tms* colour = new_tms(0, 1);
            t->GetGlobalCond() =
                Guard(Binary(EqualOp, new Function(CountOp, a->GetPlaceHeader(), colour), Constant(1)));
            clear_tms(colour);
        } else {
            t->GetGlobalCond() = Guard(Binary(EqualOp, new Function(ContentsOp, a->GetPlaceHeader(), nullptr),
                                              Constant(1)));
        }
        net.Finish();
        PlainImmediates counts;
        EXPECT_TRUE(counts.Compile(64));
        EXPECT_FALSE(counts.ExclusivesUsable()) << (filtered ? "filtered count" : "contents");
    }
}

// An infinite server's guard decides which bindings fire at each further
// firing, so a guarded one keeps the timed firings on the places, however
// plain its guard; the exclusive transitions' enabling stays on counts.
TEST(CountedActivation, GuardedInfiniteServersFireOnThePlaces)
{
    for (bool global : {true, false}) {
        TestNet net;
        Place* a = net.AddPlace("a", 1);
        Place* b = net.AddPlace("b");
        net.Add("i", {{{{b, 2}}, {{a, 1}}, Imm(1.0)}});
        net.Add("t", {{{{a, 1}}, {{b, 1}}, Exp(1.0)}});
        Transition* s = net.Add("s", {{{{b, 1}}, {{a, 1}}, Exp(1.0)}}, InfiniteServer);
        Condition guard = Guard(Binary(LessOp, Count(b), Constant(3)));
        if (global)
            s->GetGlobalCond() = guard;
        else
            BindingOf(s, 1).GetLocalCond() = guard;
        net.Finish();
        PlainImmediates counts;
        EXPECT_TRUE(counts.Compile(64));
        EXPECT_TRUE(counts.ExclusivesUsable());
        EXPECT_FALSE(counts.TimedUsable()) << (global ? "transition guard" : "binding guard");
    }
    TestNet net;
    Place* a = net.AddPlace("a", 1);
    net.Add("i", {{{{a, 2}}, {{a, 1}}, Imm(1.0)}});
    net.Add("s", {{{{a, 1}}, {{a, 1}}, Exp(1.0)}}, InfiniteServer);
    net.Finish();
    PlainImmediates counts;
    EXPECT_TRUE(counts.Compile(64));
    EXPECT_TRUE(counts.TimedUsable());
}

}  // namespace
