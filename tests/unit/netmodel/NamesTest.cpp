#include <gtest/gtest.h>

#include "FatalReport.h"
#include "netmodel/Textual.h"
#include "netmodel/Token.h"

namespace {

const char* kLetterFirst = "string does not match [\\a-zA-Z][\\a-zA-Z0-9_]*";
const char* kWordOnly = "string does not match [\\a-zA-Z0-9_]*";

void Text(const char* s)
{
    Textual t(Textual::kText, s);
}

TEST(NameCheck, NamesThatPass)
{
    for (const char* s : {"p1", "P_2", "a\\b", "\\__ROOT__", "\\__ROOT__\\sub\\p1", "\\__ROOT__\\",
                          "\\", "\\x_1"}) {
        Textual t(Textual::kText, s);
        EXPECT_TRUE(t == s) << s;
    }
    // Identifiers may also start with digits and underscores.
    for (const char* s : {"1", "x2", "_", "\\__ROOT__", "\\__ROOT__\\1a", "\\x"}) {
        Textual t(Textual::kIdentifier, s);
        EXPECT_TRUE(t == s) << s;
    }
}

// Each rejected name is reported with the rule it breaks, at the place of
// the check that caught it.
TEST(NameCheckDeathTest, NamesReportTheRuleTheyBreak)
{
    struct Rejected {
        int kind;
        const char* name;
        int line;
        const char* rule;
    };
    const Rejected cases[] = {
        {Textual::kText, "1p", 48, kLetterFirst},
        {Textual::kText, "_x", 48, kLetterFirst},
        {Textual::kText, "", 48, kLetterFirst},
        {Textual::kText, "p-1", 46, kLetterFirst},
        {Textual::kText, "\\__ROOT__x", 26, kLetterFirst},
        {Textual::kText, "\\__ROOT__\\1", 24, kLetterFirst},
        {Textual::kText, "\\__ROOT__\\a.b", 22, kLetterFirst},
        {Textual::kText, "\\_x", 38, kLetterFirst},
        {Textual::kText, "\\ab-", 36, kLetterFirst},
        {Textual::kText, nullptr, 11, "string is NULL-pointer"},
        {Textual::kIdentifier, "x.2", 89, kWordOnly},
        {Textual::kIdentifier, "\\\\x", 79, kWordOnly},
        {Textual::kIdentifier, "\\x-", 83, kWordOnly},
        {Textual::kIdentifier, "\\__ROOT__y", 70, kWordOnly},
        {Textual::kIdentifier, "\\__ROOT__\\y-", 68, kLetterFirst},
        {Textual::kIdentifier, nullptr, 57, "string is NULL-pointer"},
    };
    for (const Rejected& c : cases)
        EXPECT_NET_FATAL(Textual(c.kind, c.name), "Pendra/src/Textual", c.line,
                         c.kind == Textual::kText ? "CheckTxt()" : "CheckIdt()", c.rule)
            << (c.name ? c.name : "null");
    EXPECT_NET_EXIT(Text("p-1"), "additional info1 : p-1\n");
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
