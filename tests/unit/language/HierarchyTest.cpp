// Hierarchical descriptions: sub-pages refining sub-transitions, socket/port
// pairs, page parameters and text definitions that resolve through each
// other. The naming errors of pages, ports, parameters and definitions are
// end-to-end cases.
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

TEST(Hierarchy, SubPagesPortsAndParametersResolveToTheMasterPage)
{
    ChildRun run = RunInChild([] {
        Parse(kHierarchy);
        std::cout << DescribeDefinitions() << DescribePages() << DescribePlaces() << DescribePairs()
                  << DescribeTransitions() << DescribeMeasures();
    });
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output,
              "def \\__ROOT__\\rate = 2\n"
              "def \\__ROOT__\\alias = \"\\__ROOT__\\rate\"\n"
              "def \\__ROOT__\\open = (#\\__ROOT__\\Sub\\In>0)\n"
              "page \\__ROOT__ sub \\__ROOT__\\Sub\n"
              "page \\__ROOT__\\Sub param \\__ROOT__\\Sub\\speed=\"\\__ROOT__\\alias\" "
              "param \\__ROOT__\\Sub\\limit=2 param \\__ROOT__\\Sub\\source=\"\\__ROOT__\\P\" "
              "param \\__ROOT__\\Sub\\step=\"\\__ROOT__\\Sub\\limit\"\n"
              "place \\__ROOT__\\P no=1 type=1 cap=num:- init={0:2}\n"
              "place \\__ROOT__\\Q no=2 type=1 cap=num:- init={}\n"
              "place \\__ROOT__\\Sub\\Local no=5 type=1 cap=num:2 init={0:2}\n"
              "pair \\__ROOT__\\Sub\\In -> \\__ROOT__\\P\n"
              "pair \\__ROOT__\\Sub\\Out -> \\__ROOT__\\Q\n"
              "exclusive \\__ROOT__\\T1 no=1 exc=0 server=0 guard=true\n"
              "  w=1 guard=true delay=exp(2) in=\\__ROOT__\\P:{0:1} out=\\__ROOT__\\Q:{0:1}\n"
              "exclusive \\__ROOT__\\Sub\\T2 no=2 exc=1 server=0 guard=(#\\__ROOT__\\Sub\\In>0)\n"
              "  w=1 guard=(#\\__ROOT__\\P>1) delay=exp(2) in=\\__ROOT__\\P:{0:1} "
              "out=\\__ROOT__\\Q:{0:1}\n"
              "measure \\__ROOT__\\pq = E[#\\__ROOT__\\Q]\n"
              "measure \\__ROOT__\\Sub\\inside = E[#\\__ROOT__\\P]\n");
}

TEST(Hierarchy, ConditionsThroughPortsAreBoundToTheSocketPlace)
{
    ChildRun run = RunInChild([] {
        ParseAndCheck(kHierarchy);
        std::cout << DescribeTransitions();
    });
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find(
                  "exclusive \\__ROOT__\\Sub\\T2 no=2 exc=1 server=0 guard=(#\\__ROOT__\\P>0)\n"),
              std::string::npos)
        << run.output;
}

}  // namespace
