#include <gtest/gtest.h>

#include "FatalReport.h"
#include "netmodel/Textual.h"
#include "netmodel/Token.h"

namespace {

const char* kLetterFirst = "string does not match [\\a-zA-Z][\\a-zA-Z0-9_]*";
const char* kWordOnly = "string does not match [\\a-zA-Z0-9_]*";

void Text(const char* s) { Textual t(Textual::kText, s); }
void Identifier(const char* s) { Textual t(Textual::kIdentifier, s); }

TEST(NameCheck, TextsThatPass)
{
    for (const char* s : {"p1", "P_2", "a\\b", "\\__ROOT__", "\\__ROOT__\\sub\\p1", "\\__ROOT__\\",
                          "\\", "\\x_1"}) {
        Textual t(Textual::kText, s);
        EXPECT_TRUE(t == s) << s;
    }
}

TEST(NameCheckDeathTest, TextsReportTheRuleTheyBreak)
{
    EXPECT_NET_FATAL(Text("1p"), "Pendra/src/Textual", 48, "CheckTxt()", kLetterFirst);
    EXPECT_NET_FATAL(Text("_x"), "Pendra/src/Textual", 48, "CheckTxt()", kLetterFirst);
    EXPECT_NET_FATAL(Text(""), "Pendra/src/Textual", 48, "CheckTxt()", kLetterFirst);
    EXPECT_NET_FATAL(Text("p-1"), "Pendra/src/Textual", 46, "CheckTxt()", kLetterFirst);
    EXPECT_NET_FATAL(Text("\\__ROOT__x"), "Pendra/src/Textual", 26, "CheckTxt()", kLetterFirst);
    EXPECT_NET_FATAL(Text("\\__ROOT__\\1"), "Pendra/src/Textual", 24, "CheckTxt()", kLetterFirst);
    EXPECT_NET_FATAL(Text("\\__ROOT__\\a.b"), "Pendra/src/Textual", 22, "CheckTxt()",
                     kLetterFirst);
    EXPECT_NET_FATAL(Text("\\_x"), "Pendra/src/Textual", 38, "CheckTxt()", kLetterFirst);
    EXPECT_NET_FATAL(Text("\\ab-"), "Pendra/src/Textual", 36, "CheckTxt()", kLetterFirst);
    EXPECT_NET_FATAL(Text(nullptr), "Pendra/src/Textual", 11, "CheckTxt()",
                     "string is NULL-pointer");
}

TEST(NameCheckDeathTest, ReportCarriesTheRejectedName)
{
    EXPECT_NET_EXIT(Text("p-1"), "additional info1 : p-1\n");
}

TEST(NameCheck, IdentifiersMayStartWithDigitsAndUnderscores)
{
    for (const char* s : {"1", "x2", "_", "\\__ROOT__", "\\__ROOT__\\1a", "\\x"}) {
        Textual t(Textual::kIdentifier, s);
        EXPECT_TRUE(t == s) << s;
    }
}

TEST(NameCheckDeathTest, IdentifiersReportTheRuleTheyBreak)
{
    EXPECT_NET_FATAL(Identifier("x.2"), "Pendra/src/Textual", 89, "CheckIdt()", kWordOnly);
    EXPECT_NET_FATAL(Identifier("\\\\x"), "Pendra/src/Textual", 79, "CheckIdt()", kWordOnly);
    EXPECT_NET_FATAL(Identifier("\\x-"), "Pendra/src/Textual", 83, "CheckIdt()", kWordOnly);
    EXPECT_NET_FATAL(Identifier("\\__ROOT__y"), "Pendra/src/Textual", 70, "CheckIdt()",
                     kWordOnly);
    EXPECT_NET_FATAL(Identifier("\\__ROOT__\\y-"), "Pendra/src/Textual", 68, "CheckIdt()",
                     kLetterFirst);
    EXPECT_NET_FATAL(Identifier(nullptr), "Pendra/src/Textual", 57, "CheckIdt()",
                     "string is NULL-pointer");
}

TEST(NamePaths, StrippingPathAndRoot)
{
    Textual full("\\__ROOT__\\sub\\p1");
    EXPECT_TRUE(full.StripOffPath() == "p1");
    EXPECT_TRUE(full.StripOffRoot() == "\\sub\\p1");
    EXPECT_TRUE(full.StripOffRootBackslash() == "sub\\p1");

    EXPECT_TRUE(Textual("plain").StripOffPath().IsNull());
    EXPECT_TRUE(Textual("plain").StripOffRoot() == "plain");
    EXPECT_TRUE(Textual("\\__ROOT__").StripOffRoot().IsNull());
    EXPECT_TRUE(Textual("\\__ROOT__\\").StripOffRootBackslash().IsNull());
}

TEST(NamePathsDeathTest, StrippingANullTextIsFatal)
{
    EXPECT_NET_FATAL(Textual(static_cast<const char*>(nullptr)).StripOffPath(),
                     "Pendra/src/Textual", 118, "can't strip of path", "string is NULL-pointer");
}

TEST(TokenColour, WildcardsInStepAndVersion)
{
    Token ax1("a", "x", "s1");
    Token aw1("a", "wdc", "s1");
    Token aw2("a", "wdc", "s2");
    Token ayw("a", "y", "wdc");
    Token bw("b", "wdc", "wdc");

    EXPECT_TRUE(ax1.IsEqual(aw1));
    EXPECT_TRUE(aw1.IsEqual(ax1));
    EXPECT_FALSE(ax1.IsEqual(aw2));
    EXPECT_TRUE(ax1.IsEqual(ayw));
    EXPECT_FALSE(ax1.IsEqual(bw));
    EXPECT_FALSE(ax1 == aw1);
    EXPECT_FALSE(ax1 == ayw);
    EXPECT_TRUE(ax1 == Token("a", "x", "s1"));
    EXPECT_FALSE(ax1.IsEqual(Token("a", "y", "s1")));
}

TEST(TokenColourDeathTest, VersionIsCheckedAsIdentifier)
{
    EXPECT_NET_FATAL(Token("a", "x.1", "s"), "Pendra/src/Textual", 89, "CheckIdt()", kWordOnly);
}

}  // namespace
