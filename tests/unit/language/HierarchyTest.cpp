// Hierarchical descriptions: sub-pages refining sub-transitions, socket/port
// pairs, page parameters and text definitions that resolve through each
// other. Their class listing and the naming errors of pages, ports,
// parameters and definitions are end-to-end cases.
#include <gtest/gtest.h>

#include <string>

#include "NetDump.h"
#include "ReaderRun.h"

namespace {

// A root page whose sub-transition Sub is refined by the page \Sub; the
// sub-page reads its rate through a text parameter that names a text
// definition, its capacity through a parameter that took a definition's
// value (also reached through a second text parameter), and a place of the
// root page through a parameter.
const char* const kHierarchy =
    "Definition :\n"
    "\\rate = 2\n"
    "| \\alias = rate\n"
    "| \\open = #\\Sub\\In > 0\n"
    "Parameter : Page : \\\n"
    "ElementaryPlace : P ; ; 2'e | Q ; ;\n"
    "ProductPlace :\n"
    "Transition :\n"
    "T1 [ in#P = e , out#Q = e ; Exponential(alias) ]\n"
    "Sub [ subpage \\Sub ; assign P -> In , Q -> Out ]\n"
    "Evaluate : pq = E[ #Q ]\n"
    "Parameter :\n"
    "\\Sub\\speed = alias\n"
    "| \\Sub\\limit = \\rate\n"
    "| \\Sub\\source = P\n"
    "| \\Sub\\step = \\Sub\\limit\n"
    "Page : \\Sub\n"
    "ElementaryPlace : In ; ; | Out ; ; | Local ; step ; 2'e\n"
    "ProductPlace :\n"
    "Transition :\n"
    "T2 ( \\open ) [ ( #source > 1 ) in#In = e , out#Out = e ; Exponential(speed) ]\n"
    "Evaluate : inside = E[ #In ]\n";

// What the class listing does not show: page parameters, socket/port
// pairs, and measures of a sub-page read through its ports.
TEST(Hierarchy, ParametersPairsAndMeasuresResolveToTheMasterPage)
{
    ChildRun run = RunInChild([] {
        Parse(kHierarchy);
        std::cout << DescribePages() << DescribePairs() << DescribeMeasures();
    });
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output,
              "page \\__ROOT__ sub \\__ROOT__\\Sub\n"
              "page \\__ROOT__\\Sub param \\__ROOT__\\Sub\\speed=\"\\__ROOT__\\alias\" "
              "param \\__ROOT__\\Sub\\limit=2 param \\__ROOT__\\Sub\\source=\"\\__ROOT__\\P\" "
              "param \\__ROOT__\\Sub\\step=\"\\__ROOT__\\Sub\\limit\"\n"
              "pair \\__ROOT__\\Sub\\In -> \\__ROOT__\\P\n"
              "pair \\__ROOT__\\Sub\\Out -> \\__ROOT__\\Q\n"
              "measure \\__ROOT__\\pq = rating 2(#\\__ROOT__\\Q, ?)\n"
              "measure \\__ROOT__\\Sub\\inside = rating 2(#\\__ROOT__\\P, ?)\n");
}

}  // namespace
