// The scanner: how the text is cut into tokens (longest match, keywords
// against names, numbers, comments, general distributions), how the input
// is read, and its lexical errors.
#include <gtest/gtest.h>

#include <cstdio>

#include "ReaderRun.h"
#include "foundation/RunState.h"
#include "language/Grammar.hpp"
#include "language/Parser.h"

extern char* yytext;

namespace {

// Scans the whole text and writes one item per token: the value of a token
// that carries one, the matched text of any other.
std::string Tokens(const std::string& text)
{
    ChildRun run = RunInChild([&] {
        static std::string input;
        input = text + '\xFF';
        table_string = input.data();
        // Written through stdio like the scanner's echo, so that the order
        // shows where an echoed character stood.
        for (int t; (t = yylex()) != 0;) {
            switch (t) {
                case TOK_INTEGER:
                    std::printf("int:%d ", yylval.integer);
                    break;
                case TOK_REAL:
                    std::printf("real:%g ", yylval.real);
                    break;
                case TOK_STRING:
                    std::printf("str:%s ", yylval.text->GetCChar());
                    break;
                case TOK_GENERAL:
                    std::printf("gen:%s ", yylval.text->IsNull() ? "" : yylval.text->GetCChar());
                    break;
                default:
                    std::printf("%s ", yytext);
            }
        }
    });
    return run.output;
}

// Everything after "Definition : \x =" is read in the definition section
// with a current definition: plain names are text below the root.
std::string DefinitionTokens(const std::string& text)
{
    std::string all = Tokens("Definition : \\x = " + text);
    return all.substr(std::string("Definition : str:\\__ROOT__\\x = ").size());
}

TEST(Scanner, KeywordsAreWholeWordsOnly)
{
    EXPECT_EQ(DefinitionTokens("TRUE TRUEx e e1 ES ES1 TP TP[ E [ E[ P[ in in# out#"),
              "TRUE str:\\__ROOT__\\TRUEx e str:\\__ROOT__\\e1 ES str:\\__ROOT__\\ES1 "
              "str:\\__ROOT__\\TP TP[ str:\\__ROOT__\\E [ E[ P[ str:\\__ROOT__\\in in# out# ");
}

TEST(Scanner, NumbersCarryNoSignAndZeroIsWrittenAsZeroPointZero)
{
    EXPECT_EQ(DefinitionTokens("12 1.5e3 1e-5 1.e5 0.0e -3 .5 0 0.0"),
              "int:12 real:1500 real:1e-05 real:100000 real:0 e - int:3 . int:5 int:0 real:0 ");
}

TEST(Scanner, OperatorsTakeTheLongestMatch)
{
    EXPECT_EQ(DefinitionTokens("!= ! = <= < >= > -> - ' \\y a'b a\\b"),
              "!= ! = <= < >= > -> - ' str:\\__ROOT__\\y str:\\__ROOT__\\a'b "
              "str:\\__ROOT__\\a\\b ");
}

TEST(Scanner, GeneralDistributionIsOneTokenOnlyWithItsCharacterSet)
{
    EXPECT_EQ(DefinitionTokens("General((1)) General(I[0,1]*x^2 + 1e-3)"),
              "gen:(1) gen:I[0,1]*x^2 + 1e-3 ");
    EXPECT_EQ(DefinitionTokens("General(exp(-x))"),
              "str:\\__ROOT__\\General ( str:\\__ROOT__\\exp ( - str:\\__ROOT__\\x ) ) ");
}

TEST(Scanner, CommentsHoldOnlyTheirCharacterSet)
{
    EXPECT_EQ(DefinitionTokens("/* Place P1 */ 1 /* a.b */"),
              "int:1 / * str:\\__ROOT__\\a . str:\\__ROOT__\\b * / ");
}

TEST(Scanner, CharactersOfNoTokenAreEchoed)
{
    EXPECT_EQ(DefinitionTokens("1 $ 2 \" 3"), "int:1 $int:2 \"int:3 ");
}

TEST(Scanner, TheEndByteEndsTheDescription)
{
    EXPECT_EQ(Tokens("Definition : 1\xFF 2 3"), "Definition : int:1 ");
}

TEST(Scanner, LongLinesAreReadAcrossRefills)
{
    std::string name(20000, 'a');
    EXPECT_EQ(DefinitionTokens(name + " 7"), "str:\\__ROOT__\\" + name + " int:7 ");
}

struct LexicalCase {
    const char* description;
    const char* message;
    const char* section;
    const char* token;
};

class LexicalErrors : public testing::TestWithParam<LexicalCase> {};

TEST_P(LexicalErrors, EndTheRunWithTheSectionAndToken)
{
    const LexicalCase& c = GetParam();
    EXPECT_TRUE(Reported(RunInChild([&] { Parse(c.description); }), 251, "scan",
                         "function \t : yylex()\n" + ErrorLines(c.message, c.section, c.token)));
}

INSTANTIATE_TEST_SUITE_P(
    Scanner, LexicalErrors,
    testing::Values(
        LexicalCase{"Definition : \\x = 99999999999",
                    "Error while converting string to long int (strtol())", "Definition",
                    "99999999999"},
        LexicalCase{"Definition : \\x = 0.", "Error while converting string to double (strtod())",
                    "Definition", "0."},
        LexicalCase{"Definition : \\x = 00.0", "Error while converting string to double (strtod())",
                    "Definition", "00.0"},
        LexicalCase{"Definition : \\x = 0.00", "Error while converting string to double (strtod())",
                    "Definition", "0.00"},
        LexicalCase{"Definition : \\x = 0.0e0",
                    "Error while converting string to double (strtod())", "Definition", "0.0e0"},
        LexicalCase{"Definition : \\x = 1e400",
                    "Error while converting string to double (strtod())", "Definition", "1e400"},
        LexicalCase{"Definition : \\x = __ROOT__", "found reserved string (__ROOT__)", "Definition",
                    "__ROOT__"},
        LexicalCase{"Definition : \\x = 1 ^ 2", "undefined character : ^", "Definition", "^"},
        LexicalCase{"Definition : \\x = `", "undefined character : `", "Definition", "`"},
        LexicalCase{"Definition : \\x = %", "undefined character : %", "Definition", "%"},
        LexicalCase{"Definition : \\x = ~", "undefined character : ~", "Definition", "~"},
        LexicalCase{"Definition : x = 1", "can't get path of string. String is NULL-pointer",
                    "Definition", "x"},
        LexicalCase{"Definition : Parameter : y", "master pagename is not defined", "Parameter",
                    "y"},
        LexicalCase{"x", "actual pagename is not defined", "Unknown", "x"},
        LexicalCase{"Definition : Parameter : Page : Main", "pagename without path", "Page",
                    "Main"},
        LexicalCase{"Definition : Parameter : Page : a\\b", "pagename with relativ path", "Page",
                    "a\\b"},
        LexicalCase{"Definition : Parameter : Page : \\ ElementaryPlace : \\ ; ;",
                    "root (\\) found in wrong section", "ElementaryPlace", "\\"},
        LexicalCase{
            "Definition : Parameter : Page : \\ ElementaryPlace : ProductPlace : Transition : "
            "Evaluate : a\\b = 1",
            "evalstring with relativ path", "Evaluation", "a\\b"},
        LexicalCase{"Page", "wrong section order (Page)", "Unknown", "Page"},
        LexicalCase{"Definition : Definition", "wrong section order (Definition)", "Definition",
                    "Definition"},
        LexicalCase{"Definition : Parameter : Parameter", "wrong section order (Parameter)",
                    "Parameter", "Parameter"},
        LexicalCase{"Definition : Parameter : Page : \\ ElementaryPlace : ElementaryPlace",
                    "wrong section order (ElementaryPlace)", "ElementaryPlace", "ElementaryPlace"},
        LexicalCase{"Definition : Parameter : Page : \\ ProductPlace : ProductPlace",
                    "wrong section order (ProductPlace)", "ProductPlace", "ProductPlace"},
        LexicalCase{"Definition : Parameter : Page : \\ Transition",
                    "wrong section order (Transition)", "Page", "Transition"},
        LexicalCase{"Definition : Parameter : Page : \\ ElementaryPlace : Evaluate",
                    "wrong section order (Evaluate)", "ElementaryPlace", "Evaluate"}));

TEST(Scanner, ReportsCarryTheLineAndTheLastComment)
{
    // Newlines inside a comment are not counted.
    ChildRun run = RunInChild([] { Parse("Definition :\n/* the\nrate */\n\\rate = 0."); });
    EXPECT_EQ(run.status, 251);
    EXPECT_NE(run.output.find("ERROR occured\n\n the\nrate \n\nfile\t\t : scan\nline\t\t : 3\n"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("additional info3 :  the\nrate \n"), std::string::npos) << run.output;
}

}  // namespace
