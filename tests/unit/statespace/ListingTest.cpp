// The graph listings and the class listing on small nets.
#include <gtest/gtest.h>

#include <regex>

#include "CapturedOutput.h"
#include "Kanban.h"
#include "SmallNets.h"
#include "TestNet.h"
#include "netmodel/ShowClasses.h"
#include "statespace/CreateRRG.h"
#include "statespace/ExamineRRG.h"
#include "statespace/RRGListing.h"
#include "statespace/data/StateSpaceGlobals.h"

namespace {

const std::string kFrame(63, '-');
const std::string kSum(58, '-');
const std::string kStars = "********************* rrg statistiks *********************\n";

std::string Counters(int exp, int tangible, int all)
{
    return kStars + "   no. det. markings  : 0\n + no. exp. markings  : " + std::to_string(exp) +
           "\n + no. gen. markings  : 0\n + no. imm. markings  : 0\n"
           " + no. abs. markings  : 0\n" +
           kSum + "\n = no tang. markings  : " + std::to_string(tangible) +
           "\n\n + no pro. markings   : 0\n + no imm. markings   : 0\n" + kSum +
           "\n = no. markings       : " + std::to_string(all) + "\n" + kStars;
}

std::string Marking(int key, int ata, int place)
{
    return "Key/Number : " + std::to_string(key) +
           "\nStatus     : counted\nType       : exponential\nAct. Trans.: " + std::to_string(ata) +
           "\nPlace " + std::to_string(place) + " : 1 token(s) = [0]:1\n";
}

std::string Edge(int rate)
{
    return "Delay Value: " + std::to_string(rate) + "\nDelay Type : exponential\nTrans. No. : 1\n";
}

int Count(const std::string& text, const std::string& pattern)
{
    std::regex re(pattern);
    return static_cast<int>(
        std::distance(std::sregex_iterator(text.begin(), text.end(), re), std::sregex_iterator()));
}

void BuildTwoMarkings(TestNet& net)
{
    BuildTokenBackAndForth(net);
    CreateRRG();
    ExamineRRG();
}

TEST(GraphListing, FullListingShowsEveryMarkingWithItsEdgesOnce)
{
    TestNet net;
    BuildTwoMarkings(net);
    std::string expected = "\n\n" + kFrame + "\nstart ->->->->->->->-> RRG\n\n" +
                           Counters(2, 2, 2) + Marking(1, 1, 0) + "\t" + kFrame + "\n" + Edge(2) +
                           Marking(2, 2, 1) + "\t" + kFrame + "\n\n\n" + Marking(2, 2, 1) + "\t" +
                           kFrame + "\n" + Edge(4) + Marking(1, 1, 0) + "\t" + kFrame + "\n\n\n" +
                           "\nstop  ->->->->->->->-> RRG\n" + kFrame + "\n";
    EXPECT_EQ(Output(ShowRRG), expected);
}

TEST(GraphListing, SparseListingShowsKeysVectorsAndSuccessorNumbers)
{
    TestNet net;
    BuildTwoMarkings(net);
    std::string text = Output(ShowSmallRRG);
    EXPECT_NE(text.find("Key/Number : 1\nAct. Trans.: 1\nPlace 0 : 1 token(s) = [0]:1\n"
                        "Stt        : 2 exponential (trans. 1)\tNext MarkNo: 2\n\n"
                        "Key/Number : 2\nAct. Trans.: 2\nPlace 1 : 1 token(s) = [0]:1\n"
                        "Stt        : 4 exponential (trans. 1)\tNext MarkNo: 1\n\n"),
              std::string::npos)
        << text;
}

// The kanban graph is full of cycles: each of its markings is listed once,
// and a second listing repeats the first.
TEST(GraphListing, CyclicGraphListsEveryMarkingOnceEachTime)
{
    TestNet net;
    BuildKanban(net, 1);
    CreateRRG();
    ExamineRRG();
    std::string first = Output(ShowSmallRRG);
    EXPECT_EQ(Count(first, "Key/Number : "), 160);
    for (int key : {1, 77, 160})
        EXPECT_EQ(Count(first, "Key/Number : " + std::to_string(key) + "\n"), 1) << key;
    EXPECT_EQ(Output(ShowSmallRRG), first);
}

TEST(GraphListing, MissingInitialMarkingIsSaid)
{
    TestNet net;
    EXPECT_NE(Output(ShowRRG).find(kStars + "\tinitial marking is NULL-pointer\n"),
              std::string::npos);
}

TEST(ClassListing, ListsPlacesTransitionsAndDependencies)
{
    TestNet net;
    Place* p = net.AddPlace("p", 2, 5);
    Place* q = net.AddPlace("q");
    net.Add("go", {{{{p, 1}}, {{q, 1}}, Exp(2.0)}});
    net.Add("serve", {{{{q, 1}}, {{p, 1}}, Exp(1.0)}}, InfiniteServer);
    net.Finish();
    std::string text = Output(ShowClasses);
    for (const char* part :
         {"no definitions !!!\n", "no pages !!!\n",
          "No.       : 0\nName      : p\nType      : elementary\nCapacity  : cell\n\t5\n"
          "Marking   : tokenmultiset\n\ttoken = 0 quant = 2\n",
          "No.    : 1\nName   : go\nType   : exclusive\nGCond  : cell\n\tno cell\n"
          "Binds  : bindings\nWeight    : 1\nDelayType : exponential\nDelay     : cell\n\t0.5\n"
          "LocalCond : cell\n\tno cell\nInArcs     : arcs\nPlaceName : p\n"
          "Marking   : tokenmultiset\n\ttoken = 0 quant = 1\nOutArcs    : arcs\nPlaceName : q\n",
          "Type   : infinite\nServer : 1\n",
          "\ttransition dependencies for transition with global no 2\n"
          "exc. trans. no = 0\ninf. trans. no = 0\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n---\n" << text;
}

}  // namespace
