#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "ElementaryHeader.h"
#include "FatalReport.h"
#include "Multisets.h"
#include "netmodel/BinaerOp.h"
#include "netmodel/Condition.h"
#include "netmodel/ConstVal.h"
#include "netmodel/Function.h"
#include "netmodel/NumericGuard.h"
#include "netmodel/PlaceHeader.h"
#include "netmodel/UnaerOp.h"

namespace {

using CellPtr = std::unique_ptr<Cell>;

Cell* Count(PlaceHeader* ph)
{
    return new Function(CountOp, ph, nullptr);
}
Cell* Constant(double v)
{
    return new ConstVal(v);
}
Cell* Binary(Operator op, Cell* l, Cell* r)
{
    return new BinaerOp(op, l, r, AdoptOperands{});
}
Cell* Unary(Operator op, Cell* c)
{
    return new UnaerOp(op, c, AdoptOperands{});
}

double TreeValue(const Cell& c, bool onNew)
{
    return std::unique_ptr<CellVal>(onNew ? c.NewCalculate() : c.Calculate())->GetFloat();
}

void ExpectSameAsTree(const Cell& c)
{
    NumericGuard guard;
    guard.Compile(&c);
    ASSERT_TRUE(guard.IsCompiled());
    for (bool onNew : {false, true}) {
        double tree = TreeValue(c, onNew);
        double flat = guard.Evaluate(onNew);
        if (std::isnan(tree))
            EXPECT_TRUE(std::isnan(flat));
        else
            EXPECT_EQ(flat, tree);
    }
}

}  // namespace

// Every operator on numbers and counts, on actual contents (p=3, q=0) and on
// new ones (p=1, q=0), gives what the tree's values give: in particular a
// division by zero answers the dividend and logic reads both operands.
TEST(NumericGuard, AgreesWithTheTreeOnEveryOperator)
{
    auto p = ElementaryHeader("p", 3);
    auto q = ElementaryHeader("q", 0);
    auto two = Ms({{0, 2}});
    p->FireIn(two.get());

    const Operator binary[] = {PlusOp,    MinusOp,        TimesOp,     DivideOp,   LessOp, EqualOp,
                               GreaterOp, GreaterEqualOp, LessEqualOp, NotEqualOp, AndOp,  OrOp};
    for (Operator op : binary) {
        SCOPED_TRACE(static_cast<char>(op));
        ExpectSameAsTree(*CellPtr(Binary(op, Count(p.get()), Constant(1.5))));
        ExpectSameAsTree(*CellPtr(Binary(op, Count(p.get()), Count(q.get()))));
        ExpectSameAsTree(*CellPtr(Binary(op, Constant(-2), Count(p.get()))));
        ExpectSameAsTree(*CellPtr(Binary(op, Count(q.get()), Constant(0))));
    }
    ExpectSameAsTree(*CellPtr(Unary(NotOp, Count(q.get()))));
    ExpectSameAsTree(*CellPtr(Unary(MinusOp, Count(p.get()))));
    ExpectSameAsTree(*CellPtr(Binary(DivideOp, Constant(0), Constant(0))));
    ExpectSameAsTree(*CellPtr(Binary(
        OrOp,
        Binary(AndOp, Binary(EqualOp, Count(p.get()), Constant(3)), Unary(NotOp, Count(q.get()))),
        Binary(GreaterOp, Binary(DivideOp, Count(p.get()), Count(q.get())), Constant(2)))));
}

TEST(NumericGuard, FilteredAndUnboundCountsReadWhatTheTreeReads)
{
    auto ph = std::make_unique<PlaceHeader>("c");
    auto slots = Ms({{1, 2}, {2, 5}});
    PTms* contents = tms2ptms(slots.get());
    ph->SetPTms(contents);
    clear_ptms(contents);
    auto colourTwo = Ms({{2, 1}});
    ExpectSameAsTree(*CellPtr(new Function(CountOp, ph.get(), colourTwo.get())));
    ExpectSameAsTree(*CellPtr(new Function(CountOp, Str("unbound"))));
}

TEST(NumericGuard, LeavesEverythingButNumbersToTheTree)
{
    auto p = ElementaryHeader("p", 1);
    auto tokens = Ms({{0, 1}});
    std::vector<CellPtr> kept;
    kept.emplace_back(new Function(ContentsOp, p.get(), nullptr));
    kept.emplace_back(Binary(GreaterOp, Count(p.get()), new ConstVal(tokens.get())));
    Cell* deep = Count(p.get());
    for (int i = 0; i < NumericGuard::kMaxDepth; ++i) deep = Binary(PlusOp, Constant(1), deep);
    kept.emplace_back(Binary(PlusOp, deep, Constant(1)));
    for (const CellPtr& c : kept) {
        NumericGuard guard;
        guard.Compile(c.get());
        EXPECT_FALSE(guard.IsCompiled());
    }
}

// A guard that mixes a count with a multiset is evaluated by the tree and
// still stops the run with the value's own report.
TEST(NumericGuardDeathTest, MixedGuardsKeepTheirReports)
{
    auto p = ElementaryHeader("p", 1);
    CellPtr mixed(Binary(GreaterOp,
                         Binary(PlusOp, Count(p.get()), new Function(ContentsOp, p.get(), nullptr)),
                         Constant(0)));
    Condition guard(mixed.get());
    guard.EvalCond();
    EXPECT_NET_FATAL(guard.ActCondTrue(), "Pendra/src/CellVal", 87, "operator +",
                     "double + tokenmultiset");
}

// Copies evaluate on their own tree: the original may be gone.
TEST(NumericGuard, ConditionCopiesOutliveTheOriginal)
{
    auto p = ElementaryHeader("p", 2);
    CellPtr twoTokens(Binary(EqualOp, Count(p.get()), Constant(2)));
    auto original = std::make_unique<Condition>(twoTokens.get());
    original->EvalCond();
    Condition copy(*original);
    Condition assigned;
    assigned = *original;
    original.reset();
    EXPECT_TRUE(copy.ActCondTrue());
    EXPECT_TRUE(assigned.NewCondTrue());
    auto one = Ms({{0, 1}});
    p->FireIn(one.get());
    EXPECT_FALSE(copy.NewCondTrue());
    EXPECT_TRUE(copy.ActCondTrue());
}
