// Examination: classification, counting, numbering and the subordinated
// chains, on generated nets and on graphs built by hand for the mixes of
// edge kinds that generation does not produce.
#include <gtest/gtest.h>

#include <memory>

#include "FatalReport.h"
#include "GraphInspection.h"
#include "SmallNets.h"
#include "TestNet.h"
#include "statespace/CreateRRG.h"
#include "statespace/ExamineRRG.h"
#include "statedata/StateSpaceGlobals.h"

namespace {

struct Edge {
    int code;
    Marking* to;
    short trans = 1;
};

// Markings linked by hand; edges are given in list order.
class HandGraph {
public:
    Marking& Add()
    {
        markings.push_back(std::make_unique<Marking>());
        return *markings.back();
    }
    static void Link(Marking& from, std::vector<Edge> edges)
    {
        for (auto e = edges.rbegin(); e != edges.rend(); ++e)
            from.AddMarking(*e->to, DelayVal(1.0, e->code, e->trans));
    }

private:
    std::vector<std::unique_ptr<Marking>> markings;
};

std::string ExError(int line, const char* function, const char* description)
{
    return ErrorBlock("Pendra/src/ExamineRRG", line, function, description);
}

// Examines a graph whose initial marking has one exponential edge to a
// marking with edges of these codes, all back to the initial marking.
void ExamineEdges(std::vector<int> codes, std::vector<short> transitions = {})
{
    TestNet net;
    HandGraph g;
    Marking& root = g.Add();
    Marking& m = g.Add();
    HandGraph::Link(root, {{kDelayExponential, &m}});
    std::vector<Edge> edges;
    for (std::size_t i = 0; i < codes.size(); ++i)
        edges.push_back({codes[i], &root, i < transitions.size() ? transitions[i] : short(1)});
    HandGraph::Link(m, edges);
    InitialMarking = &root;
    ExamineRRG();
    InitialMarking = nullptr;
}

TEST(ExaminationErrors, MixesOfEdgeKindsStop)
{
    EXPECT_REPORT_EXIT(ExamineEdges({kDelayExponential, kDelayImmediate}), kExaminationStatus,
                       ExError(416, "ChkAndSetDT()", "exp/imm statetransition mix"));
    EXPECT_REPORT_EXIT(ExamineEdges({kDelayExponential, kDelayProbability}), kExaminationStatus,
                       ExError(419, "ChkAndSetDT()", "exp/pro statetransition mix"));
    EXPECT_REPORT_EXIT(ExamineEdges({kDelayImmediate, kDelayExponential}), kExaminationStatus,
                       ExError(396, "ChkAndSetDT()", "imm/xxx statetransition mix"));
    EXPECT_REPORT_EXIT(ExamineEdges({kDelayProbability, kDelayImmediate}), kExaminationStatus,
                       ExError(401, "ChkAndSetDT()", "pro/xxx statetransition mix"));
    EXPECT_REPORT_EXIT(
        ExamineEdges({kDelayDeterministic, kDelayExponential, kDelayDeterministic}, {1, 2, 3}),
        kExaminationStatus, ExError(411, "ChkAndSetDT()", "det/xxx statetransition mix"));
    EXPECT_REPORT_EXIT(ExamineEdges({kDelayExponential, kDelayGeneral, kDelayDeterministic}),
                       kExaminationStatus,
                       ExError(406, "ChkAndSetDT()", "gen/xxx statetransition mix"));
    EXPECT_REPORT_EXIT(ExamineEdges({kDelayPreempting, kDelayExponential}), kExaminationStatus,
                       ExError(427, "ChkAndSetDT()", "unallowed preempting-state-transition"));
}

TEST(ExaminationErrors, EdgesOfKindsNoMarkingMayHaveStop)
{
    EXPECT_REPORT_EXIT(ExamineEdges({kDelayExponential, kDelayUnknown}), kExaminationStatus,
                       ExError(465, "CountMarksMakeLists()", "statetransition without delay"));
    EXPECT_REPORT_EXIT(
        ExamineEdges({kDelayExponential, kDelayPreempting}), kExaminationStatus,
        ExError(529, "CountMarksMakeLists()", "unallowed preempting statetransition"));
    EXPECT_REPORT_EXIT(ExamineEdges({kDelayMixed}), kExaminationStatus,
                       ExError(530, "CountMarksMakeLists()", "unallowed mixed statetransition"));
    EXPECT_REPORT_EXIT(
        ExamineEdges({kDelayAbsorbing}), kExaminationStatus,
        ExError(528, "CountMarksMakeLists()", "unallowed absorbing statetransition"));
    // A deterministic marking whose transition has no chain.
    EXPECT_REPORT_EXIT(ExamineEdges({kDelayDeterministic}), kExaminationStatus,
                       ExError(489, "CountMarksMakeLists()", "can't save deterministic marking"));
}

TEST(ExaminationErrors, ProbabilityMarkingLeadingToTwoDeterministicTransitionsStops)
{
    auto examine = [] {
        TestNet net;
        HandGraph g;
        Marking& root = g.Add();
        Marking& branch = g.Add();
        Marking& d1 = g.Add();
        Marking& d2 = g.Add();
        HandGraph::Link(root, {{kDelayExponential, &branch}});
        HandGraph::Link(branch, {{kDelayProbability, &d1}, {kDelayProbability, &d2}});
        HandGraph::Link(d1, {{kDelayDeterministic, &root, 1}});
        HandGraph::Link(d2, {{kDelayDeterministic, &root, 2}});
        InitialMarking = &root;
        ExamineRRG();
    };
    EXPECT_REPORT_EXIT(examine(), kExaminationStatus,
                       ExError(381, "ChkIntermediateMark()",
                               "more than one det/gen transition is fireable in one marking"));
}

// A deterministic edge listed before the exponential ones still makes a
// deterministic marking; its exponential edge to an exponential marking
// preempts the chain's transition.
TEST(Examination, DeterministicEdgeListedFirstMakesADeterministicMarking)
{
    TestNet net;
    auto* chain = new SMChain(7);
    DetMarkingSMChains.Append(chain);
    MLists.det_smcs = DetMarkingSMChains;
    HandGraph g;
    Marking& det = g.Add();
    Marking& exp = g.Add();
    HandGraph::Link(det, {{kDelayDeterministic, &exp, 7}, {kDelayExponential, &exp, 2}});
    HandGraph::Link(exp, {{kDelayExponential, &det, 3}});
    InitialMarking = &det;
    ExamineRRG();

    EXPECT_EQ(det.GetType(), static_cast<unsigned>(kDelayDeterministic));
    EXPECT_EQ(exp.GetKey(), 1u);
    EXPECT_EQ(det.GetKey(), 2u);
    EXPECT_EQ(chain->GetFirstStateNumber(), 2u);
    EXPECT_EQ(chain->GetNoOfStates(), 1);
    EXPECT_EQ(chain->GetNoOfPreemptingArcs(), 1);
    EXPECT_EQ(Edges(det)[1]->GetDelayType(), kDelayPreempting);
    InitialMarking = nullptr;
}

// Two deterministic firings (from a and from b) end in the same marking q,
// where one of two bindings is chosen: the intermediate marking is stored
// once and its branches keep their probabilities.
TEST(Examination, IntermediateMarkingReachedTwiceKeepsItsProbabilities)
{
    TestNet net;
    Place* a = net.AddPlace("a", 1);
    Place* b = net.AddPlace("b");
    Place* q = net.AddPlace("q");
    Place* x = net.AddPlace("x");
    Place* y = net.AddPlace("y");
    net.Add("td1", {{{{a, 1}}, {{q, 1}}, Det(1.0)}});
    net.Add("td2", {{{{b, 1}}, {{q, 1}}, Det(2.0)}});
    net.Add("tq", {{{{q, 1}}, {{x, 1}}, Exp(1.0)}, {{{q, 1}}, {{y, 1}}, Exp(1.0)}});
    net.Add("tx", {{{{x, 1}}, {{a, 1}}, Exp(1.0)}});
    net.Add("ty", {{{{y, 1}}, {{b, 1}}, Exp(1.0)}});
    net.Finish();
    CreateRRG();
    ExamineRRG();

    Marking* intermediate = FindMarking({0, 0, 1, 0, 0}, {});
    ASSERT_NE(intermediate, nullptr);
    EXPECT_EQ(intermediate->GetType(), static_cast<unsigned>(kDelayProbability));
    auto edges = Edges(*intermediate);
    ASSERT_EQ(edges.size(), 2u);
    for (const stt* e : edges) EXPECT_DOUBLE_EQ(e->GetDelayVal(), 0.5);
    EXPECT_EQ(MCount[kCountDet], 2u);
    EXPECT_EQ(MLists.det_smcs.count, 2);
}

// While td is enabled a token circles between a and b: the chain's two
// markings form a cycle through exponential edges.
TEST(Examination, CyclicChainNumbersEveryMemberOnce)
{
    TestNet net;
    Place* p = net.AddPlace("p", 1);
    Place* a = net.AddPlace("a", 1);
    Place* b = net.AddPlace("b");
    Place* q = net.AddPlace("q");
    net.Add("td", {{{{p, 1}}, {{q, 1}}, Det(1.0)}});
    net.Add("ta", {{{{a, 1}}, {{b, 1}}, Exp(1.0)}});
    net.Add("tb", {{{{b, 1}}, {{a, 1}}, Exp(1.0)}});
    net.Add("tq", {{{{q, 1}}, {{p, 1}}, Exp(1.0)}});
    net.Finish();
    CreateRRG();
    ExamineRRG();

    Marking* x = FindMarking({1, 1, 0, 0}, {1, 1, 0, 0});
    Marking* y = FindMarking({1, 0, 1, 0}, {1, 0, 1, 0});
    ASSERT_TRUE(x && y);
    SMChain* chain = MLists.det_smcs.first->item;
    EXPECT_EQ(chain->GetNoOfStates(), 2);
    EXPECT_EQ(chain->GetNoOfPreemptingArcs(), 0);
    EXPECT_EQ(x->GetKey(), chain->GetFirstStateNumber());
    EXPECT_EQ(y->GetKey(), chain->GetFirstStateNumber() + 1);
    EXPECT_EQ(x->GetStatus(), static_cast<unsigned>(kStatusInitial));
    EXPECT_EQ(y->GetStatus(), static_cast<unsigned>(kStatusLastOfSucc));
    EXPECT_EQ(MCount[kCountTangible], 4u);
    EXPECT_EQ(MCount[kCountPro], 2u);
    EXPECT_EQ(chain->GetFirstStateNumber(), 3u);  // after the two exponential markings
}

// Without chains: exponential markings first, then the vanishing start
// marking (immediate edges) last.
TEST(Examination, VanishingStartMarkingIsNumberedAfterTheTangibleOnes)
{
    TestNet net;
    BuildVanishingStart(net);
    CreateRRG();
    Marking* start = InitialMarking;
    ExamineRRG();

    EXPECT_EQ(InitialMarking, start);
    EXPECT_EQ(start->GetType(), static_cast<unsigned>(kDelayImmediate));
    EXPECT_EQ(start->GetKey(), 3u);
    EXPECT_EQ(MCount[kCountImm], 1u);
    EXPECT_EQ(MCount[kCountExp], 2u);
    EXPECT_EQ(MLists.imm_markings.first->item, start);
}

// With a choice of bindings in the initial marking, the examination starts
// at the first of the markings the start marking leads to.
TEST(Examination, ProbabilityStartMarkingGivesWayToItsFirstTarget)
{
    TestNet net;
    BuildChoiceAtStart(net);
    CreateRRG();
    Marking* first = Edges(*InitialMarking)[0]->Target();
    ExamineRRG();

    EXPECT_EQ(InitialMarking, first);
    EXPECT_EQ(MCount[kCountAll], 3u);
    EXPECT_EQ(first->GetKey(), 1u);
}

}  // namespace
