// The grammar: what the parser builds from a description (registries,
// expression trees with their precedence, places, transitions, colours).
// Its grammatical and registration errors are end-to-end cases.
#include <gtest/gtest.h>

#include <string>

#include "NetDump.h"
#include "ReaderRun.h"

namespace {

// A block around the given places and transitions.
std::string Net(const std::string& places, const std::string& transitions,
                const std::string& evaluation = "")
{
    return "Definition :\nParameter : Page : \\\nElementaryPlace : " + places +
           "\nProductPlace :\nTransition : " + transitions + "\nEvaluate : " + evaluation + "\n";
}

// A description whose definition section holds the given definitions.
std::string WithDefinitions(const std::string& definitions)
{
    return "Definition : " + definitions +
           "\nParameter : Page : \\\nElementaryPlace :\nProductPlace :\n"
           "Transition :\nEvaluate :\n";
}

std::string Parsed(const std::string& description, std::string (*describe)())
{
    ChildRun run = RunInChild([&] {
        Parse(description);
        std::cout << describe();
    });
    EXPECT_EQ(run.status, 0) << run.output;
    return run.output;
}

const char* const kWorkedExample =
    "Definition :\n"
    "\\rate = 1\n"
    "Parameter : Page : \\\n"
    "ElementaryPlace : P ; ; 2'e\n"
    "ProductPlace :\n"
    "Transition : T [ in#P = e , out#P = e ; Exponential(rate) ]\n"
    "Evaluate : p = P[ #P > 0 ]\n";

TEST(Grammar, WorkedExampleBuildsItsNet)
{
    ChildRun run = RunInChild([] {
        Parse(kWorkedExample);
        std::cout << DescribeDefinitions() << DescribePages() << DescribePlaces()
                  << DescribeTransitions() << DescribeMeasures() << DescribeCounts();
    });
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output,
              "def \\__ROOT__\\rate = 1\n"
              "page \\__ROOT__\n"
              "place \\__ROOT__\\P no=1 type=1 cap=num:- init={0:2}\n"
              "exclusive \\__ROOT__\\T no=1 exc=0 server=0 guard=true\n"
              "  w=1 guard=true delay=exp(1) in=\\__ROOT__\\P:{0:1} out=\\__ROOT__\\P:{0:1}\n"
              "measure \\__ROOT__\\p = P[(#\\__ROOT__\\P>0)]\n"
              "trans=1 imm=0 exp=1 det=0 gen=0 mix=0 detchains=[ ] genchains=[ ] general=0\n");
}

TEST(Grammar, ArithmeticBindsAndGroupsAsUsual)
{
    EXPECT_EQ(
        Parsed(WithDefinitions("\\a = 1 - 2 - 3 | \\b = -1 * 2 | \\c = -1 + 2 | \\d = 1 + 2 * 3 / 4"
                               " | \\m = 2 * e + 3'e / 2 | \\n = - e - e"),
               DescribeDefinitions),
        "def \\__ROOT__\\a = ((1-2)-3)\n"
        "def \\__ROOT__\\b = (-(1*2))\n"
        "def \\__ROOT__\\c = ((-1)+2)\n"
        "def \\__ROOT__\\d = (1+((2*3)/4))\n"
        "def \\__ROOT__\\m = ((2*{0:1})+({0:3}/2))\n"
        "def \\__ROOT__\\n = ((-{0:1})-{0:1})\n");
}

TEST(Grammar, ABarAfterADefinitionEndsIt)
{
    EXPECT_EQ(Parsed(WithDefinitions("\\x = TRUE | \\y = FALSE | \\z = (TRUE | ! FALSE & -)"
                                     " | \\w = 1 < 2 + 3"),
                     DescribeDefinitions),
              "def \\__ROOT__\\x = (!0)\n"
              "def \\__ROOT__\\y = (!1)\n"
              "def \\__ROOT__\\z = (((!0)|(!(!1)))&1)\n"
              "def \\__ROOT__\\w = (1<(2+3))\n");
}

TEST(Grammar, DefinitionNamesAreReplacedByTheirValues)
{
    EXPECT_EQ(Parsed(WithDefinitions("\\x = 2 | \\y = \\x * 3 | \\t = x | \\u = \\t"),
                     DescribeDefinitions),
              "def \\__ROOT__\\x = 2\n"
              "def \\__ROOT__\\y = (2*3)\n"
              "def \\__ROOT__\\t = \"\\__ROOT__\\x\"\n"
              "def \\__ROOT__\\u = 2\n");
}

TEST(Grammar, PlacesTakeCapacityKindAndInitialMarking)
{
    EXPECT_EQ(Parsed(Net("A ; ; | B ; 3 ; | C ; #A < 2 ; | D ; 2 ; 3'e | E ; TRUE ; {e, (2)*e} | F "
                         "; ; 70000'e",
                         ""),
                     DescribePlaces),
              "place \\__ROOT__\\A no=1 type=1 cap=num:- init={}\n"
              "place \\__ROOT__\\B no=2 type=1 cap=num:3 init={}\n"
              "place \\__ROOT__\\C no=3 type=1 cap=bool:(#\\__ROOT__\\A<2) init={}\n"
              "place \\__ROOT__\\D no=4 type=1 cap=num:2 init={0:3}\n"
              "place \\__ROOT__\\E no=5 type=1 cap=bool:(!0) init={0:3}\n"
              "place \\__ROOT__\\F no=6 type=1 cap=num:- init={0:65535}\n");
}

TEST(Grammar, ColoursAreRegisteredOnceWithTheirNumbers)
{
    std::string description =
        "Definition :\nParameter : Page : \\\nElementaryPlace :\n"
        "ProductPlace : G ; ; a.1 + 2'b[x]s + c? + d[?]2 + a.1 | H ; ; {b[x]s, (3)*f[3]g}\n"
        "Transition : Evaluate :";
    ChildRun run = RunInChild([&] {
        Parse(description);
        std::cout << DescribeTokens() << DescribePlaces();
    });
    EXPECT_EQ(run.output,
              "token 1 a[0]1\ntoken 2 b[x]s\ntoken 3 c[wdc]wdc\ntoken 4 d[wdc]2\ntoken 5 f[3]g\n"
              "place \\__ROOT__\\G no=1 type=2 cap=num:- init={1:2,2:2,3:1,4:1}\n"
              "place \\__ROOT__\\H no=2 type=2 cap=num:- init={2:1,5:3}\n");
}

TEST(Grammar, TransitionsAreCountedByDelayKindAndFiledByClass)
{
    std::string transitions =
        "T1 ES ( #P > 0 ) [ ( #P > 1 ) in#P = e ; 2 ; Immediate | out#P = e ; 0.5 ; Immediate(3) "
        "]\n"
        "T2 IS [ in#P = e , out#P = 2'e ; Exponential(2) ]\n"
        "T3 [ in#P = e ; Deterministic(1.5) | in#P = e ; Exponential(1) ]\n"
        "T4 [ in#P = e ; Exponential(1) | in#P = e ; Deterministic(1.5) ]\n"
        "T5 [ in#P = e ; Uniform(1, 2) | in#P = e ; General(1) ]\n"
        "T6 [ in#P = e ; Exponential(1) | in#P = e ; General() | out#P = e ; Deterministic(1)]\n";
    ChildRun run = RunInChild([&] {
        Parse(Net("P ; ; e", transitions));
        std::cout << DescribeTransitions() << DescribeCounts();
    });
    EXPECT_EQ(
        run.output,
        "exclusive \\__ROOT__\\T3 no=3 exc=0 server=0 guard=true\n"
        "  w=1 guard=true delay=det(1.5) in=\\__ROOT__\\P:{0:1} out=-\n"
        "  w=1 guard=true delay=exp(1) in=\\__ROOT__\\P:{0:1} out=-\n"
        "exclusive \\__ROOT__\\T4 no=4 exc=1 server=0 guard=true\n"
        "  w=1 guard=true delay=exp(1) in=\\__ROOT__\\P:{0:1} out=-\n"
        "  w=1 guard=true delay=det(1.5) in=\\__ROOT__\\P:{0:1} out=-\n"
        "exclusive \\__ROOT__\\T5 no=5 exc=2 server=0 guard=true\n"
        "  w=1 guard=true delay=uni(1,2) in=\\__ROOT__\\P:{0:1} out=-\n"
        "  w=1 guard=true delay=gen\"1\" in=\\__ROOT__\\P:{0:1} out=-\n"
        "exclusive \\__ROOT__\\T6 no=6 exc=3 server=0 guard=true\n"
        "  w=1 guard=true delay=exp(1) in=\\__ROOT__\\P:{0:1} out=-\n"
        "  w=1 guard=true delay=gen\"\" in=\\__ROOT__\\P:{0:1} out=-\n"
        "  w=1 guard=true delay=det(1) in=- out=\\__ROOT__\\P:{0:1}\n"
        "infinite \\__ROOT__\\T2 no=2 exc=-1 server=1 guard=true\n"
        "  w=1 guard=true delay=exp(2) in=\\__ROOT__\\P:{0:1} out=\\__ROOT__\\P:{0:2}\n"
        "immediate \\__ROOT__\\T1 no=1 exc=-1 server=0 guard=(#\\__ROOT__\\P>0)\n"
        "  w=2 guard=(#\\__ROOT__\\P>1) delay=imm(1) in=\\__ROOT__\\P:{0:1} out=-\n"
        "  w=0.5 guard=true delay=imm(3) in=- out=\\__ROOT__\\P:{0:1}\n"
        "trans=6 imm=1 exp=2 det=0 gen=1 mix=2 detchains=[ 3 4 6 ] genchains=[ 5 6 ] general=2\n");
}

TEST(Grammar, MeasuresTakeTheirArgumentsAndOperators)
{
    EXPECT_EQ(
        Parsed(Net("P ; ; e", "T [ in#P = e ; Exponential(1) ]",
                   "a = P[ 1 ] | b = 2 * E[ #P IF #P > 0 ] - P[ TRUE IF 1 ] / 4 | c = TP[ T ] + 1"
                   " | d = -(P[#P = 1])"),
               DescribeMeasures),
        "measure \\__ROOT__\\a = P[1]\n"
        "measure \\__ROOT__\\b = ((2*E[#\\__ROOT__\\P IF (#\\__ROOT__\\P>0)])-(P[(!0) IF 1]/4))\n"
        "measure \\__ROOT__\\c = (TP[\"\\__ROOT__\\T\";-]+1)\n"
        "measure \\__ROOT__\\d = (-P[(#\\__ROOT__\\P=1)])\n");
}

// Beyond 10000 entries the stack overflows (an end-to-end case).
TEST(Grammar, TheParserStackGrows)
{
    std::string deep = std::string(300, '(') + "1" + std::string(300, ')');
    EXPECT_EQ(Parsed(WithDefinitions("\\x = " + deep), DescribeDefinitions),
              "def \\__ROOT__\\x = 1\n");
}

}  // namespace
