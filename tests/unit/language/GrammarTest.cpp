// The grammar: what the parser builds where the class listing does not show
// it (colours, the counts by delay kind). Expressions, places, transitions
// and their listing, measures (through their values), and the grammatical
// and registration errors, are end-to-end cases.
#include <gtest/gtest.h>

#include <string>

#include "NetDump.h"
#include "ReaderRun.h"

namespace {

TEST(Grammar, ColoursAreRegisteredOnceWithTheirNumbers)
{
    EXPECT_EQ(
        Described(Net("", "G ; ; a.1 + 2'b[x]s + c? + d[?]2 + a.1 | H ; ; {b[x]s, (3)*f[3]g}", ""),
                  [] { return DescribeTokens() + DescribePlaces(); }),
        "token 1 a[0]1\ntoken 2 b[x]s\ntoken 3 c[wdc]wdc\ntoken 4 d[wdc]2\ntoken 5 f[3]g\n"
        "place \\__ROOT__\\G no=1 type=2 cap=num:? init={1*4, 1*3, 2*2, 2*1}\n"
        "place \\__ROOT__\\H no=2 type=2 cap=num:? init={3*5, 1*2}\n");
}

TEST(Grammar, TransitionsAreCountedByDelayKindAndChain)
{
    std::string transitions =
        "T1 ES ( #P > 0 ) [ ( #P > 1 ) in#P = e ; 2 ; Immediate | out#P = e ; 0.5 ; Immediate(3) "
        "]\n"
        "T2 IS [ in#P = e , out#P = 2'e ; Exponential(2) ]\n"
        "T3 [ in#P = e ; Deterministic(1.5) | in#P = e ; Exponential(1) ]\n"
        "T4 [ in#P = e ; Exponential(1) | in#P = e ; Deterministic(1.5) ]\n"
        "T5 [ in#P = e ; Uniform(1, 2) | in#P = e ; General(1) ]\n"
        "T6 [ in#P = e ; Exponential(1) | in#P = e ; General() | out#P = e ; Deterministic(1)]\n";
    EXPECT_EQ(
        Described(Net("P ; ; e", "", transitions), DescribeCounts),
        "trans=6 imm=1 exp=2 det=0 gen=1 mix=2 detchains=[ 3 4 6 ] genchains=[ 5 6 ] general=2\n");
}

}  // namespace
