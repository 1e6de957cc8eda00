#include "foundation/Str.h"

#include <gtest/gtest.h>

namespace {

std::string text(const Str& s) { return s.GetCChar() ? s.GetCChar() : "<null>"; }

TEST(Str, NullAndEmptyAreDistinct)
{
    Str null;
    Str empty("");
    EXPECT_TRUE(null.IsNull());
    EXPECT_FALSE(empty.IsNull());
    EXPECT_EQ(null.Length(), 0);
    EXPECT_FALSE(null == null);
    EXPECT_TRUE(null != Str());
    EXPECT_TRUE(empty == Str(""));
    EXPECT_TRUE(Str("abc") == Str("abc"));
    EXPECT_FALSE(Str("abc") == static_cast<const char*>(nullptr));
}

TEST(Str, AssigningNullLeavesTargetUnchanged)
{
    Str s("abc");
    s = Str();
    EXPECT_EQ(text(s), "abc");
    s = static_cast<const char*>(nullptr);
    EXPECT_EQ(text(s), "abc");
    s = s;
    EXPECT_EQ(text(s), "abc");
    s = "x";
    EXPECT_EQ(text(s), "x");
}

TEST(Str, ConcatenationHandlesNullOnEitherSide)
{
    Str s;
    s += 'a';
    EXPECT_EQ(text(s), "a");
    s += static_cast<const char*>(nullptr);
    EXPECT_EQ(text(s), "a");
    s += Str("bc");
    EXPECT_EQ(text(s), "abc");
    EXPECT_EQ(text(Str() + "x"), "x");
    EXPECT_EQ(text(Str("x") + static_cast<const char*>(nullptr)), "x");
    EXPECT_EQ(text(Str() + 'q'), "q");
}

TEST(Str, RemovalTakesOnlyTheFirstOccurrence)
{
    EXPECT_EQ(text(Str("abc") - "b"), "ac");
    EXPECT_EQ(text(Str("abcb") - 'b'), "acb");
    EXPECT_EQ(text(Str("abc") - "z"), "abc");
    EXPECT_EQ(text(Str("m.BS.net") - ".net" - "BS"), "m.");
    EXPECT_TRUE((Str() - "a").IsNull());
}

TEST(Str, SearchTreatsNullAsUniversalSubstring)
{
    EXPECT_TRUE(Str().IsIn("anything"));
    EXPECT_FALSE(Str("a").IsIn(static_cast<const char*>(nullptr)));
    EXPECT_TRUE(Str("xyz").Contains(static_cast<const char*>(nullptr)));
    EXPECT_FALSE(Str().Contains("a"));
    EXPECT_TRUE(Str("abc").Contains('b'));
    EXPECT_TRUE(Str("b").IsIn(Str("abc")));
}

TEST(Str, Digits)
{
    EXPECT_EQ(text(Str::Int2Str(0)), "0");
    EXPECT_EQ(text(Str::Int2Str(10)), "10");
    EXPECT_EQ(text(Str::Int2Str(1234)), "1234");
}

TEST(Str, BetweenStringDelimiters)
{
    EXPECT_EQ(text(Str("/* x */").BetweenS("/*", "*/")), " x ");
    EXPECT_TRUE(Str("no comment */").BetweenS("/*", "*/").IsNull());
    EXPECT_TRUE(Str("/**/").BetweenS("/*", "*/").IsNull());
    EXPECT_TRUE(Str("|ab|").BetweenS("|", "|").IsNull());
    EXPECT_EQ(text(Str("a /* Place P1 */ b").BetweenS("/*", "*/")), " Place P1 ");
}

TEST(Str, BetweenCharDelimitersSpansFirstOpenToLastClose)
{
    EXPECT_EQ(text(Str("f(a(b)c)").BetweenC('(', ')')), "a(b)c");
    EXPECT_EQ(text(Str("abc").BetweenC('(', ')')), "abc");
    EXPECT_TRUE(Str("f()").BetweenC('(', ')').IsNull());
    EXPECT_TRUE(Str("f(abc").BetweenC('(', ')').IsNull());
}

}  // namespace
