#include <gtest/gtest.h>

#include <string>

#include "FatalReport.h"
#include "Multisets.h"
#include "netmodel/ConstVal.h"
#include "netmodel/Deterministic.h"
#include "netmodel/Exponential.h"
#include "netmodel/Function.h"
#include "netmodel/Immediate.h"
#include "netmodel/PlaceHeader.h"

namespace {

constexpr const char* kFile = "Pendra/src/Delay";

// Matches the error block of a non-positive delay number; the line is free.
std::string NotPositive(const char* function, const char* kind)
{
    std::string rest = std::string("function \t : ") + function +
                       "\ndescription\t : value given to " + kind +
                       " delay is zero or less than zero\n";
    return EscapedForRegex(std::string("file\t\t : ") + kFile) + "\nline\t\t : [0-9]+\n" +
           EscapedForRegex(rest);
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
    EXPECT_NET_EXIT(Immediate(&zero).CalculateFloat(), NotPositive("CalculateFloat()", "imm."));
    EXPECT_NET_EXIT(delete Exponential().Calculate(), NotPositive("Calculate()", "exp."));
    EXPECT_NET_EXIT(Deterministic(&negative).CalculateFloat(),
                    NotPositive("CalculateFloat()", "det."));
}

}  // namespace
