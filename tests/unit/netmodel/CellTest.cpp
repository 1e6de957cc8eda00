#include <gtest/gtest.h>

#include <memory>

#include "ElementaryHeader.h"
#include "FatalReport.h"
#include "Multisets.h"
#include "netmodel/BinaerOp.h"
#include "netmodel/ConstVal.h"
#include "netmodel/Function.h"
#include "netmodel/PlaceHeader.h"
#include "netmodel/RatingCell.h"
#include "netmodel/TokenMSVal.h"
#include "netmodel/UnaerOp.h"

namespace {

using Value = std::unique_ptr<CellVal>;

constexpr const char* kFile = "Pendra/src/Cell";

double NumberOf(CellVal* v)
{
    return Value(v)->GetFloat();
}

// Equality between two different cell classes is asked through the base on
// both sides, as the engine does (C++20 also considers the reversed call).
const Cell& Base(const Cell& c)
{
    return c;
}

TEST(CellResultTypes, LeftOperandDecidesBetweenPlaceNumberAndNumber)
{
    Function count(CountOp, Str("p"));
    Function contents(ContentsOp, Str("p"));
    ConstVal two(2);
    auto colouredTms = Ms({{1, 1}});
    auto plainTms = Ms({{0, 1}});
    ConstVal coloured(colouredTms.get());
    ConstVal plain(plainTms.get());

    EXPECT_EQ(BinaerOp(PlusOp, &count, &two).GetResultType(), PlaceNumber);
    EXPECT_EQ(BinaerOp(PlusOp, &two, &count).GetResultType(), Number);
    EXPECT_EQ(BinaerOp(TimesOp, &contents, &two).GetResultType(), PlaceMultiset);
    EXPECT_EQ(BinaerOp(PlusOp, &contents, &coloured).GetResultType(), ProductMultiset);
    EXPECT_EQ(BinaerOp(PlusOp, &contents, &plain).GetResultType(), ElementaryMultiset);
    EXPECT_EQ(BinaerOp(TimesOp, &two, &coloured).GetResultType(), ProductMultiset);
    EXPECT_EQ(BinaerOp(LessOp, &count, &two).GetResultType(), Boolean);
    EXPECT_EQ(UnaerOp(NotOp, &two).GetResultType(), Boolean);
    EXPECT_EQ(UnaerOp(MinusOp, &count).GetResultType(), PlaceNumber);

    BinaerOp condition(GreaterOp, &count, &two);
    EXPECT_EQ(BinaerOp(PlusOp, &two, &condition).GetResultType(), Boolean);
}

TEST(CellResultTypesDeathTest, ElementaryAndProductMultisetsDoNotMix)
{
    auto colouredTms = Ms({{1, 1}});
    auto plainTms = Ms({{0, 1}});
    ConstVal coloured(colouredTms.get());
    ConstVal plain(plainTms.get());
    EXPECT_NET_FATAL(BinaerOp(PlusOp, &plain, &coloured).GetResultType(), kFile, 343,
                     "BinaerOp::GetResultType()", "e_mset_expr op p_mset_expr");
    EXPECT_NET_FATAL(BinaerOp(MinusOp, &coloured, &plain).GetResultType(), kFile, 348,
                     "BinaerOp::GetResultType()", "p_mset_expr op e_mset_expr");
}

TEST(CellConstructionDeathTest, TextsCannotBeCalculated)
{
    ConstVal text("T1");
    ConstVal one(1);
    EXPECT_NET_FATAL(UnaerOp(MinusOp, &text), kFile, 117, "UnaerOp::UnaerOp(Operator, const Cell*)",
                     "can't calculate textual cells");
    EXPECT_NET_FATAL(BinaerOp(PlusOp, &text, &one), kFile, 276,
                     "BinaerOp::BinaerOp(Operator,Cell*,Cell*)", "can't calculate textual cells");
    EXPECT_NET_FATAL(BinaerOp(PlusOp, &one, &text), kFile, 279,
                     "BinaerOp::BinaerOp(Operator,Cell*,Cell*)", "can't calculate textual cells");
    EXPECT_NET_FATAL(BinaerOp(PlusOp, one.GetConstCellVal(), text.GetConstCellVal()), kFile, 292,
                     "BinaerOp::BinaerOp(Operator,CellVal*,CellVal*)",
                     "can't calculate textual cells");
}

TEST(CellEvaluation, DivisionByZeroDiffersBetweenValueAndNumber)
{
    BinaerOp division(DivideOp, 1, 0);
    EXPECT_EQ(NumberOf(division.Calculate()), 1.0);
    EXPECT_NET_FATAL(division.CalculateFloat(), kFile, 393, "BinaerOp::CalculateFloat()",
                     "division by zero");
}

TEST(CellEvaluation, OperatorsOnNumbers)
{
    EXPECT_EQ(NumberOf(UnaerOp(NotOp, 0).Calculate()), 1.0);
    EXPECT_EQ(UnaerOp(NotOp, 0).CalculateFloat(), 1.0);
    EXPECT_EQ(UnaerOp(MinusOp, 2.5).CalculateFloat(), -2.5);
    EXPECT_EQ(BinaerOp(GreaterEqualOp, 2, 2).CalculateFloat(), 1.0);
    EXPECT_EQ(BinaerOp(NotEqualOp, 2, 2.0).CalculateFloat(), 0.0);
    EXPECT_EQ(BinaerOp(OrOp, false, true).CalculateFloat(), 1.0);
    BinaerOp sum(PlusOp, 2, 3);
    BinaerOp product(TimesOp, &sum, &sum);
    EXPECT_EQ(NumberOf(product.Calculate()), 25.0);
    EXPECT_EQ(product.CalculateFloat(), 25.0);
}

TEST(CellEvaluation, MultisetsEvaluateThroughTheValueOperators)
{
    auto a = Ms({{1, 2}});
    auto b = Ms({{2, 1}});
    BinaerOp sum(PlusOp, a.get(), b.get());
    Value v(sum.Calculate());
    EXPECT_EQ(Contents(v->GetConstTms()), (Counts{{1, 2}, {2, 1}}));
    EXPECT_EQ(sum.CalculateFloat(), 0.0);  // a multiset has no number
}

TEST(CellEquality, StructureAndValues)
{
    BinaerOp x(PlusOp, 1, 2);
    EXPECT_TRUE(x == BinaerOp(PlusOp, 1, 2));
    EXPECT_FALSE(x == BinaerOp(PlusOp, 2, 1));
    EXPECT_FALSE(x == BinaerOp(MinusOp, 1, 2));
    EXPECT_TRUE(Base(x) != Base(UnaerOp(MinusOp, 1)));
    EXPECT_TRUE(ConstVal(3) == ConstVal(3.0));
    EXPECT_FALSE(Base(ConstVal(3)) == Base(UnaerOp(MinusOp, 3)));
}

TEST(PlaceFunctions, UnboundFunctionsReadNothing)
{
    Function count(CountOp, Str("p"));
    Function contents(ContentsOp, Str("p"));
    EXPECT_EQ(NumberOf(count.Calculate()), 0.0);
    EXPECT_EQ(Value(contents.Calculate())->GetConstTms(), nullptr);
}

TEST(PlaceFunctions, ReadActualOrNewContentsOfTheBoundHeader)
{
    auto ph = ElementaryHeader("p", 3);
    Function count(CountOp, Str("p"));
    Function contents(ContentsOp, Str("p"));
    count.SetPH(ph.get());
    contents.SetPH(ph.get());
    auto two = Ms({{0, 2}});
    ph->FireIn(two.get());

    EXPECT_EQ(NumberOf(count.Calculate()), 3.0);
    EXPECT_EQ(count.CalculateFloat(), 3.0);
    EXPECT_EQ(NumberOf(count.NewCalculate()), 1.0);
    EXPECT_EQ(Contents(Value(contents.Calculate())->GetConstTms()), (Counts{{0, 3}}));
    EXPECT_EQ(Contents(Value(contents.NewCalculate())->GetConstTms()), (Counts{{0, 1}}));

    ph->FireIn(two.get());  // the new contents become empty
    EXPECT_EQ(Value(contents.NewCalculate())->GetConstTms(), nullptr);
}

TEST(PlaceFunctionsDeathTest, ConstructionErrors)
{
    PlaceHeader ph("p");
    ConstVal one(1);
    EXPECT_NET_FATAL(Function(CountOp, Str()), kFile, 534, "Function::Function(Operator,String)",
                     "can't create function without placename");
    EXPECT_NET_FATAL(Function(PlusOp, Str("p")), kFile, 542, "Function::Function(Operator,String)",
                     "unknown operator");
    EXPECT_NET_FATAL(Function(CountOp, static_cast<PlaceHeader*>(nullptr), nullptr), kFile, 563,
                     "Function::Function(Operator,PlaceHeader,Tms)", "placeheader is NULL-pointer");
    EXPECT_NET_FATAL(Function(PlusOp, &ph, nullptr), kFile, 571,
                     "Function::Function(Operator,PlaceHeader,Tms)", "unknown operator");
    EXPECT_NET_FATAL(Function(static_cast<const Cell*>(&one)), kFile, 504,
                     "Function::Function(Cell*)", "unknown funtion in");
    EXPECT_NET_FATAL(Function(static_cast<const Cell&>(one)), kFile, 519,
                     "Function::Function(const Cell&)", "unknown funtion in");
    Function f(CountOp, &ph, nullptr);
    EXPECT_NET_FATAL(f = static_cast<const Cell&>(one), kFile, 702,
                     "Function::operator =", "unknown funtion");
}

TEST(RatingCells, ConditionalProbabilityCodes)
{
    ConstVal yes(true);
    ConstVal no(false);
    EXPECT_EQ(RatingCell(BayesProbability, &yes, &no).CalculateFloat(), 0.0);
    EXPECT_EQ(RatingCell(BayesProbability, &no, &yes).CalculateFloat(), 1.0);
    EXPECT_EQ(RatingCell(BayesProbability, &yes, &yes).CalculateFloat(), 2.0);
    EXPECT_EQ(RatingCell(BayesProbability, &yes, nullptr).CalculateFloat(), 0.0);
    EXPECT_EQ(NumberOf(RatingCell(BayesProbability, &no, &yes).Calculate()), 1.0);
}

TEST(RatingCells, ArgumentsOfTheWrongKindAreNotStored)
{
    ConstVal text("T1");
    ConstVal seven(7);
    RatingCell probability(Probability, &text);
    EXPECT_EQ(probability.GetCell1(), nullptr);
    EXPECT_EQ(probability.CalculateFloat(), 0.0);
    EXPECT_EQ(RatingCell(Probability, &seven).CalculateFloat(), 7.0);

    RatingCell throughput(Throughput, Str("T1"));
    EXPECT_EQ(throughput.GetCell1()->GetResultType(), Text);
    EXPECT_EQ(throughput.CalculateFloat(), 0.0);
    throughput.SetCell2(4);
    EXPECT_EQ(throughput.CalculateFloat(), 4.0);
}

TEST(RatingCells, ConditionalExpectationReadsItsArgumentsSeparately)
{
    ConstVal value(2.5);
    ConstVal condition(true);
    RatingCell expectation(BayesExpectation, &value, &condition);
    EXPECT_EQ(expectation.CalculateFloat(), 0.0);
    EXPECT_EQ(expectation.CalculateCell1(), 2.5);
    EXPECT_EQ(expectation.CalculateCell2(), 1.0);
    EXPECT_EQ(RatingCell(Expectation, &value).CalculateCell1(), 0.0);
}

}  // namespace
