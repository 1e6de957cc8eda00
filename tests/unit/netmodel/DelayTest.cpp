#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "FatalReport.h"
#include "Multisets.h"
#include "netmodel/ConstVal.h"
#include "netmodel/Deterministic.h"
#include "netmodel/Exponential.h"
#include "netmodel/Function.h"
#include "netmodel/General.h"
#include "netmodel/Immediate.h"
#include "netmodel/PlaceHeader.h"
#include "netmodel/UniForm.h"

namespace {

constexpr const char* kFile = "Pendra/src/Delay";

std::string Printed(Delay& d)
{
    char* text = nullptr;
    std::size_t size = 0;
    FILE* f = open_memstream(&text, &size);
    d.PrintPMF(f);
    std::fclose(f);
    std::string s(text, size);
    std::free(text);
    return s;
}

// Equality between two different delay classes is asked through the base on
// both sides (C++20 also considers the reversed call).
const Delay& Base(const Delay& d) { return d; }

double ValueOf(Delay& d) { return std::unique_ptr<CellVal>(d.Calculate())->GetFloat(); }

// Matches the error block of a non-positive delay number; the line is free.
std::string NotPositive(const char* function, const char* kind)
{
    std::string rest = std::string("function \t : ") + function +
                       "\ndescription\t : value given to " + kind +
                       " delay is zero or less than zero\n";
    return EscapedForRegex(std::string("file\t\t : ") + kFile) + "\nline\t\t : [0-9]+\n" +
           EscapedForRegex(rest);
}

TEST(ExpressionDelays, ExponentialAnswersTheRateOfItsMean)
{
    ConstVal mean(4.0);
    Exponential e(&mean);
    EXPECT_EQ(e.CalculateFloat(), 0.25);
    EXPECT_EQ(ValueOf(e), 0.25);
    EXPECT_EQ(e.GetDelayType(), 2);
    EXPECT_EQ(e.GetExponential(), e.GetCell());
    EXPECT_EQ(e.GetImmediate(), nullptr);
}

TEST(ExpressionDelays, ImmediateAndDeterministicAnswerTheirNumber)
{
    ConstVal half(0.5);
    EXPECT_EQ(Immediate(&half).CalculateFloat(), 0.5);
    EXPECT_EQ(Immediate().CalculateFloat(), 1.0);
    ConstVal three(3);
    Deterministic d(&three);
    EXPECT_EQ(ValueOf(d), 3.0);
    EXPECT_EQ(d.GetDelayType(), 4);
    EXPECT_FALSE(d.IsPlaceDependent());
}

TEST(ExpressionDelays, MarkingDependentNumbersFollowThePlace)
{
    PlaceHeader ph("p");
    auto slots = Ms({{0, 2}});
    PTms* p = tms2ptms(slots.get());
    ph.SetPTms(p);
    clear_ptms(p);
    Function count(CountOp, &ph, nullptr);
    Deterministic d(&count);
    EXPECT_TRUE(d.IsPlaceDependent());
    EXPECT_EQ(d.CalculateFloat(), 2.0);
    auto one = Ms({{0, 1}});
    plus_tms(ph.GetActTms(), one.get());
    EXPECT_EQ(d.CalculateFloat(), 3.0);
}

TEST(ExpressionDelaysDeathTest, NumbersOfZeroOrLessStopTheRun)
{
    ConstVal zero(0);
    ConstVal negative(-1.5);
    EXPECT_EXIT(
        {
            dup2(2, 1);
            Immediate(&zero).CalculateFloat();
        },
        testing::ExitedWithCode(252), NotPositive("CalculateFloat()", "imm."));
    EXPECT_EXIT(
        {
            dup2(2, 1);
            delete Exponential().Calculate();
        },
        testing::ExitedWithCode(252), NotPositive("Calculate()", "exp."));
    EXPECT_EXIT(
        {
            dup2(2, 1);
            Deterministic(&negative).CalculateFloat();
        },
        testing::ExitedWithCode(252), NotPositive("CalculateFloat()", "det."));
}

TEST(ExpressionDelays, CopiesAreDeep)
{
    auto* mean = new ConstVal(2.0);
    Exponential original(mean);
    delete mean;
    std::unique_ptr<Delay> copy(original.Copy());
    original.Clear();
    EXPECT_EQ(copy->CalculateFloat(), 0.5);
}

TEST(ExpressionDelays, ConstructionAndAssignmentFromOtherDelays)
{
    ConstVal two(2.0);
    Exponential e(&two);
    Exponential sameClass(static_cast<const Delay&>(e));
    EXPECT_EQ(sameClass.CalculateFloat(), 0.5);
    Immediate otherClass(static_cast<const Delay&>(e));
    EXPECT_EQ(otherClass.CalculateFloat(), 1.0);

    ConstVal four(4.0);
    Immediate weight(&four);
    weight = static_cast<const Delay&>(e);  // another class: unchanged
    EXPECT_EQ(weight.CalculateFloat(), 4.0);
    Immediate other(&two);
    weight = static_cast<const Delay*>(&other);
    EXPECT_EQ(weight.CalculateFloat(), 2.0);
}

TEST(ExpressionDelays, EqualityComparesClassAndExpression)
{
    ConstVal two(2.0);
    ConstVal three(3.0);
    Exponential e(&two);
    EXPECT_TRUE(e == Exponential(&two));
    EXPECT_FALSE(e == Exponential(&three));
    EXPECT_FALSE(Base(e) == Base(Deterministic(&two)));
    EXPECT_TRUE(Base(e) != Base(Immediate(&two)));
}

TEST(GeneralDelays, UniformAnswersLowerAsNumberAndUpperAsValue)
{
    UniForm u(2.0, 5.0);
    EXPECT_EQ(u.CalculateFloat(), 2.0);
    EXPECT_EQ(ValueOf(u), 5.0);
    EXPECT_EQ(u.GetGeneral(), nullptr);
    EXPECT_EQ(Printed(u), "UNIFORM(2.000000,5.000000)");
}

TEST(GeneralDelays, GeneralPrintsItsTextUnchanged)
{
    General g(Str("PMF(1:0.5,2:0.5)"));
    EXPECT_EQ(Printed(g), "PMF(1:0.5,2:0.5)");
    EXPECT_EQ(g.CalculateFloat(), 1.0);
    EXPECT_EQ(ValueOf(g), 1.0);
    General empty;
    EXPECT_EQ(Printed(empty), "");
    EXPECT_NE(empty.GetGeneral(), nullptr);  // still told apart from a uniform delay
}

TEST(GeneralDelays, GeneralAndUniformNeverEqualEachOther)
{
    General g(Str("T"));
    UniForm u(1.0, 2.0);
    EXPECT_TRUE(g == General(Str("T")));
    EXPECT_FALSE(g == General(Str("U")));
    EXPECT_FALSE(Base(g) == Base(u));
    EXPECT_TRUE(u == UniForm(1.0, 2.0));
    EXPECT_FALSE(u == UniForm(1.0, 3.0));
    EXPECT_FALSE(Base(u) == Base(g));

    UniForm fromGeneral(static_cast<const Delay&>(g));
    EXPECT_EQ(fromGeneral.GetUniformEnd(), 0.0);
    u = static_cast<const Delay&>(UniForm(3.0, 4.0));
    EXPECT_EQ(u.GetUniformBegin(), 3.0);
    std::unique_ptr<Delay> copy(u.Copy());
    EXPECT_TRUE(*copy == u);
}

}  // namespace
