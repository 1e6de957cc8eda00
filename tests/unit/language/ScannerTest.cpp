// The scanner: how the text is cut into tokens (longest match, keywords
// against names, numbers, comments, general distributions) and the echo of
// other characters. Its lexical errors, the end byte and lines longer than
// its buffer are end-to-end cases.
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

}  // namespace
