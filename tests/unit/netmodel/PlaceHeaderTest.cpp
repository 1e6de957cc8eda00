#include <gtest/gtest.h>

#include <memory>

#include "Multisets.h"
#include "netmodel/BinaerOp.h"
#include "netmodel/Capacity.h"
#include "netmodel/Condition.h"
#include "netmodel/ConstVal.h"
#include "netmodel/Function.h"
#include "netmodel/PlaceHeader.h"
#include "netmodel/Registries.h"
#include "netmodel/Token.h"

namespace {

// Gives `ph` one slot per element of `contents`, holding its quantity.
void SetContents(PlaceHeader& ph, const OwnedTms& contents)
{
    PTms* p = tms2ptms(contents.get());
    initptmsWtms(p, contents.get());
    sort_ptms(p);
    ph.SetPTms(p);
    clear_ptms(p);
}

// Colours 1 a[x]s1, 2 a[y]s1, 3 b[x]s1 and 4 a[wdc]s1, registered for the
// test only.
class ColouredPlace : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* vers : {"x", "y"}) TokenRefs.Append(new Token("a", vers, "s1"));
        TokenRefs.Append(new Token("b", "x", "s1"));
        TokenRefs.Append(new Token("a", "wdc", "s1"));
    }
    void TearDown() override { TokenRefs.HardClear(); }
};

TEST_F(ColouredPlace, FilteredCountTakesTheFirstMatchingColourOnly)
{
    PlaceHeader ph("p");
    SetContents(ph, Ms({{1, 2}, {2, 5}, {3, 1}}));

    EXPECT_EQ(ph.FGetActQuant(nullptr), 8);
    EXPECT_EQ(ph.FGetActQuant(Ms({{4, 1}}).get()), 2);  // a[x]s1 matches first, a[y]s1 is left
    EXPECT_EQ(ph.FGetActQuant(Ms({{3, 1}, {1, 1}}).get()), 3);
    EXPECT_EQ(ph.FGetActQuant(Ms({{9, 1}}).get()), 0);  // no such colour
    EXPECT_EQ(Contents(OwnedTms(ph.FGetActTms(Ms({{4, 1}}).get())).get()), (Counts{{1, 2}}));
    EXPECT_EQ(Contents(OwnedTms(ph.FGetActTms(nullptr)).get()), (Counts{{1, 2}, {2, 5}, {3, 1}}));
}

TEST_F(ColouredPlace, WithoutContentsTheDeclaredMultisetIsRead)
{
    auto declared = Ms({{1, 2}, {3, 4}});
    PlaceHeader ph(0, Str("p"), declared.get());
    EXPECT_EQ(ph.FGetActQuant(nullptr), 6);
    EXPECT_EQ(ph.FGetNewQuant(Ms({{3, 1}}).get()), 4);
    EXPECT_EQ(Contents(OwnedTms(ph.FGetActTms(Ms({{4, 1}}).get())).get()), (Counts{{1, 2}}));
    EXPECT_EQ(Contents(OwnedTms(ph.FGetActTms(nullptr)).get()), (Counts{{1, 2}, {3, 4}}));
    EXPECT_EQ(PlaceHeader("q").FGetActTms(nullptr), nullptr);
}

TEST_F(ColouredPlace, ContentsTestNeedsEveryColour)
{
    PlaceHeader ph("p");
    SetContents(ph, Ms({{1, 2}, {3, 0}}));
    EXPECT_TRUE(ph.ActContentsOk(Ms({{1, 2}}).get()));
    EXPECT_FALSE(ph.ActContentsOk(Ms({{1, 3}}).get()));
    EXPECT_FALSE(ph.ActContentsOk(Ms({{1, 1}, {3, 1}}).get()));
}

TEST(PlaceContents, RequirementOfNoTokensIsNeverMet)
{
    PlaceHeader ph("p");
    SetContents(ph, Ms({{0, 5}}));
    Tms* zero = nullptr;
    add_tr(zero, 0, 0);
    EXPECT_FALSE(ph.ActContentsOk(zero));
    EXPECT_FALSE(ph.ActContentsOk(nullptr));
    clear_tms(zero);
}

TEST(PlaceContents, FiringChangesOnlyTheNewContents)
{
    PlaceHeader ph("p");
    SetContents(ph, Ms({{0, 3}}));
    ph.FireIn(Ms({{0, 2}}).get());
    EXPECT_EQ(ph.GetActTmsQuant(), 3);
    EXPECT_EQ(ph.GetNewTmsQuant(), 1);
    EXPECT_FALSE(ph.NewContentsOk(Ms({{0, 2}}).get()));
    EXPECT_TRUE(ph.ActContentsOk(Ms({{0, 2}}).get()));
    ph.FireOut(Ms({{0, 4}}).get());
    EXPECT_EQ(ph.GetNewTmsQuant(), 5);
    ph.CpyActToNew();
    EXPECT_EQ(ph.GetNewTmsQuant(), 3);
    ph.Init();
    EXPECT_EQ(ph.GetActTmsQuant() + ph.GetNewTmsQuant(), 0);
}

TEST(Capacities, FoldingConstantsAndKeepingMarkingDependentOnes)
{
    Capacity unbounded;
    unbounded.EvalCap();
    EXPECT_EQ(unbounded.GetCap(), 2147483647);

    ConstVal five(5.9);
    Capacity constant(NumCap, &five);
    EXPECT_FALSE(constant.IsPlaceDependent());
    constant.EvalCap();
    EXPECT_EQ(constant.GetCap(), 5);

    PlaceHeader ph("p");
    SetContents(ph, Ms({{0, 2}}));
    Function count(CountOp, &ph, nullptr);
    BinaerOp twice(TimesOp, &count, &count);
    Capacity dependent(NumCap, &twice);
    dependent.EvalCap();
    EXPECT_TRUE(dependent.IsPlaceDependent());
    EXPECT_EQ(dependent.GetCap(), 4);
    plus_tms(ph.GetActTms(), Ms({{0, 1}}).get());
    EXPECT_EQ(dependent.GetCap(), 9);
}

TEST(Conditions, ConstantsFoldAndMarkingDependentOnesAreEvaluated)
{
    Condition always(true);
    EXPECT_TRUE(always.ActCondTrue());
    Condition none;
    none.EvalCond();
    EXPECT_FALSE(none.ActCondTrue());

    BinaerOp constant(LessOp, 1, 2);
    Condition folded(&constant);
    folded.EvalCond();
    EXPECT_TRUE(folded.NewCondTrue());

    PlaceHeader ph("p");
    SetContents(ph, Ms({{0, 1}}));
    Function count(CountOp, &ph, nullptr);
    ConstVal zero(0);
    BinaerOp marked(GreaterOp, &count, &zero);
    Condition guard(&marked);
    guard.EvalCond();
    EXPECT_TRUE(guard.ActCondTrue());
    ph.FireIn(Ms({{0, 1}}).get());
    EXPECT_TRUE(guard.ActCondTrue());
    EXPECT_FALSE(guard.NewCondTrue());
}

}  // namespace
