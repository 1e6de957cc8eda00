#include <gtest/gtest.h>

#include <memory>

#include "FatalReport.h"
#include "Multisets.h"
#include "netmodel/FloatVal.h"
#include "netmodel/TextVal.h"
#include "netmodel/TokenMSVal.h"

namespace {

using Value = std::unique_ptr<CellVal>;

constexpr const char* kFile = "Pendra/src/CellVal";

// Equality between two different value classes must be asked through the
// base on both sides: C++20 would otherwise also consider the reversed call.
const CellVal& Base(const CellVal& v) { return v; }

double NumberOf(CellVal* v) { return Value(v)->GetFloat(); }

Counts Multiset(CellVal* v) { return Contents(Value(v)->GetConstTms()); }

TEST(NumberValues, DivisionByZeroGivesTheDividend)
{
    EXPECT_EQ(NumberOf(FloatVal(3) / FloatVal(0)), 3.0);
    EXPECT_EQ(NumberOf(FloatVal(7) / FloatVal(2)), 3.5);
}

TEST(NumberValues, ComparisonsWithAMultisetAreAllFalse)
{
    auto m = Ms({{1, 2}});
    TokenMSVal ms(m.get());
    FloatVal two(2);
    EXPECT_EQ(NumberOf(Base(two) != Base(ms)), 0.0);
    EXPECT_EQ(NumberOf(Base(two) == Base(ms)), 0.0);
    EXPECT_EQ(NumberOf(two < ms), 0.0);
    EXPECT_EQ(NumberOf(two >= ms), 0.0);
    EXPECT_EQ(NumberOf(two != FloatVal(3)), 1.0);
    EXPECT_EQ(NumberOf(two <= FloatVal(2)), 1.0);
}

TEST(NumberValues, LogicTreatsAMultisetByItsTokenCount)
{
    auto m = Ms({{1, 2}});
    TokenMSVal full(m.get());
    TokenMSVal empty;
    EXPECT_EQ(NumberOf(FloatVal(1) && full), 1.0);
    EXPECT_EQ(NumberOf(FloatVal(1) && empty), 0.0);
    EXPECT_EQ(NumberOf(FloatVal(0) || full), 1.0);
    EXPECT_EQ(NumberOf(FloatVal(0) || empty), 0.0);
    EXPECT_EQ(NumberOf(!FloatVal(0)), 1.0);
    EXPECT_EQ(NumberOf(!FloatVal(2.5)), 0.0);
    EXPECT_EQ(NumberOf(FloatVal(-2.5).Abs()), 2.5);
}

TEST(NumberValues, NumberTimesMultisetScalesTheMultiset)
{
    auto m = Ms({{1, 3}});
    TokenMSVal ms(m.get());
    EXPECT_EQ(Multiset(FloatVal(2) * ms), (Counts{{1, 6}}));
}

TEST(NumberValuesDeathTest, ArithmeticWithAMultisetIsFatal)
{
    auto m = Ms({{1, 1}});
    TokenMSVal ms(m.get());
    FloatVal x(1);
    EXPECT_NET_FATAL(Value(x + ms), kFile, 87, "operator +", "double + tokenmultiset");
    EXPECT_NET_FATAL(Value(x - ms), kFile, 93, "operator -", "double - tokenmultiset");
    EXPECT_NET_FATAL(Value(x / ms), kFile, 105, "operator /", "double / tokenmultiset");
    EXPECT_NET_FATAL(x = static_cast<const CellVal&>(ms), kFile, 80, "operator =",
                     "double = tokenmultiset");
    // A text on the right is caught when asked whether it is a multiset.
    EXPECT_NET_FATAL(Value(x + TextVal("t")), kFile, 20, "IsTMS()", "??? op char*");
}

TEST(MultisetValues, ResultTypeFollowsTheFirstToken)
{
    auto plain = Ms({{0, 2}});
    auto coloured = Ms({{3, 1}});
    EXPECT_EQ(TokenMSVal(plain.get()).GetResultType(), ElementaryMultiset);
    EXPECT_EQ(TokenMSVal(coloured.get()).GetResultType(), ProductMultiset);
    EXPECT_EQ(TokenMSVal().GetResultType(), ElementaryMultiset);
}

TEST(MultisetValues, TimesTruncatesAndCaps)
{
    auto a3 = Ms({{1, 3}});
    TokenMSVal ms(a3.get());
    EXPECT_EQ(Multiset(ms * FloatVal(2.9)), (Counts{{1, 6}}));
    EXPECT_EQ(Multiset(ms * FloatVal(0.5)), Counts{});
    EXPECT_EQ(Value(ms * FloatVal(0.5))->GetConstTms(), nullptr);

    auto big = Ms({{1, 40000}, {2, 1}});
    Value scaled(TokenMSVal(big.get()) * FloatVal(2));
    EXPECT_EQ(Contents(scaled->GetConstTms()), (Counts{{1, 65535}, {2, 2}}));
    EXPECT_EQ(scaled->GetConstTms()->quant, static_cast<unsigned short>(65535 + 2));
}

TEST(MultisetValues, DivisionTruncatesEachQuantity)
{
    auto m = Ms({{1, 7}, {2, 1}});
    Value half(TokenMSVal(m.get()) / FloatVal(2.0));
    EXPECT_EQ(Contents(half->GetConstTms()), (Counts{{1, 3}, {2, 0}}));
    EXPECT_EQ(half->GetConstTms()->quant, 3);
}

TEST(MultisetValuesDeathTest, ScalingErrors)
{
    auto m = Ms({{1, 7}});
    TokenMSVal ms(m.get());
    EXPECT_NET_FATAL(Value(ms * FloatVal(-1)), kFile, 232, "operator *",
                     "tokenmultiset * -(double)");
    EXPECT_NET_FATAL(Value(ms * ms), kFile, 227, "operator *", "tokenmultiset * tokenmultiset");
    EXPECT_NET_FATAL(Value(ms / FloatVal(0.0)), kFile, 264, "operator /", "tokenmultiset / NULL");
    EXPECT_NET_FATAL(Value(ms / FloatVal(-2.0)), kFile, 263, "operator /",
                     "tokenmultiset / -(double)");
    EXPECT_NET_FATAL(Value(ms / ms), kFile, 257, "operator /", "tokenmultiset / tokenmultiset");
    EXPECT_NET_FATAL(Value(ms + FloatVal(1)), kFile, 201, "operator +", "tokenmultiset + ???");
    EXPECT_NET_FATAL(Value(ms - FloatVal(1)), kFile, 214, "operator -", "tokenmultiset - ???");
    EXPECT_NET_FATAL(Value(-ms), kFile, 177, "unary op. -", "-(tokenmultiset)");
    EXPECT_NET_FATAL(ms = static_cast<const CellVal&>(FloatVal(1)), kFile, 190, "operator =",
                     "tokenmultiset = ???");
}

TEST(MultisetValues, SumDifferenceAndOrderings)
{
    auto a2 = Ms({{1, 2}});
    auto a1b1 = Ms({{1, 1}, {2, 1}});
    auto a5 = Ms({{1, 5}});
    TokenMSVal x(a2.get());
    TokenMSVal y(a1b1.get());
    EXPECT_EQ(Multiset(x + y), (Counts{{1, 3}, {2, 1}}));
    EXPECT_EQ(Multiset(y - TokenMSVal(a5.get())), (Counts{{2, 1}}));
    EXPECT_EQ(Value(x - TokenMSVal(a5.get()))->GetConstTms(), nullptr);

    EXPECT_EQ(NumberOf(x <= TokenMSVal(a5.get())), 1.0);
    EXPECT_EQ(NumberOf(x < TokenMSVal(a5.get())), 1.0);
    EXPECT_EQ(NumberOf(x == TokenMSVal(a2.get())), 1.0);
    EXPECT_EQ(NumberOf(x != TokenMSVal(a2.get())), 0.0);
    EXPECT_EQ(NumberOf(Base(x) == Base(FloatVal(2))), 0.0);
    EXPECT_EQ(NumberOf(Base(x) != Base(FloatVal(2))), 0.0);
}

TEST(MultisetValues, NotTellsWhetherTokensAreHeldAndAbsCountsThem)
{
    auto m = Ms({{1, 2}, {2, 3}});
    TokenMSVal full(m.get());
    TokenMSVal empty;
    EXPECT_EQ(NumberOf(!full), 1.0);
    EXPECT_EQ(NumberOf(!empty), 0.0);
    EXPECT_EQ(NumberOf(full.Abs()), 5.0);
    EXPECT_EQ(NumberOf(empty.Abs()), 0.0);
    EXPECT_EQ(NumberOf(full && empty), 0.0);
    EXPECT_EQ(NumberOf(full || empty), 1.0);
    EXPECT_EQ(NumberOf(full && FloatVal(1)), 0.0);
}

TEST(TextValues, EqualityNeedsATextOnTheRight)
{
    TextVal t("T1");
    EXPECT_EQ(NumberOf(t == TextVal("T1")), 1.0);
    EXPECT_EQ(NumberOf(t == TextVal("T2")), 0.0);
    EXPECT_EQ(NumberOf(Base(t) == Base(FloatVal(1))), 0.0);
    EXPECT_EQ(NumberOf(Base(t) != Base(FloatVal(1))), 1.0);
    t = static_cast<const CellVal&>(TextVal("T3"));
    EXPECT_TRUE(t.GetString() == "T3");
}

TEST(TextValuesDeathTest, ArithmeticOnTextsIsFatal)
{
    TextVal t("x");
    FloatVal one(1);
    EXPECT_NET_FATAL(Value(t + one), kFile, 21, "operator +", "char* +  ???");
    EXPECT_NET_FATAL(Value(t - one), kFile, 22, "operator -", "char* -  ???");
    EXPECT_NET_FATAL(Value(t > one), kFile, 29, "operator >", "char* >  ???");
    EXPECT_NET_FATAL(Value(t || one), kFile, 26, "operator ||", "char* || ???");
    EXPECT_NET_FATAL(Value(t && one), kFile, 25, "operator &&", "char* && ???");
    EXPECT_NET_FATAL(Value(!t), kFile, 31, "unary op. !", "!(char*)");
    EXPECT_NET_FATAL(Value(t.Abs()), kFile, 33, "operator #", "#(char*)");
    EXPECT_NET_FATAL(Value(t.Contents()), kFile, 34, "operator @", "@(char*)");
    EXPECT_NET_FATAL(t = static_cast<const CellVal&>(one), kFile, 39, "operator =",
                     "char* = ???");
}

}  // namespace
