// The data streams of both workers for small chains built by hand: header,
// rows in visiting order, pair orders, the preempting rates and targets, the
// firing rows, the status marks that let the next pass send the same rows,
// and the stops on chains that cannot be sent.
#include "solution/EkilnDataStream.h"
#include "solution/KilnDataStream.h"

#include "HandGraph.h"
#include "StreamCapture.h"
#include "foundation/RunState.h"
#include "netmodel/Registries.h"
#include "netmodel/Textual.h"

namespace {

// The deterministic chain of transition 7 with members 3 (entry), 4 and 5;
// exponential markings 1 and 2; the branching marking 9.
struct DetChainGraph {
    DetChainGraph()
    {
        out1.SetType(kDelayExponential);
        out2.SetType(kDelayExponential);
        branch.SetType(kDelayProbability);
        for (Marking* m : {&entry, &m4, &m5}) m->SetType(kDelayDeterministic);
        chain.SetFirstStateNumber(3);
        chain.SetNoOfPreemptingArcs(2);
        HandGraph::Edges(entry, {{&out1, 0.5, kDelayDeterministic, 7},
                                 {&m5, 1.5},
                                 {&m4, 2.0},
                                 {&out2, 0.5, kDelayPreempting},
                                 {&out1, 0.7, kDelayPreempting}});
        HandGraph::Edges(m4, {{&branch, 0.5, kDelayDeterministic, 7}});
        HandGraph::Edges(m5, {{&out1, 0.5, kDelayDeterministic, 7}});
        HandGraph::Edges(branch, {{&out2, 0.1, kDelayProbability},
                                  {&out2, 0.2, kDelayProbability},
                                  {&out1, 0.7, kDelayProbability}});
    }

    HandGraph g;
    Marking& out1 = g.Exp(1);
    Marking& out2 = g.Exp(2);
    SMChain& chain = g.DetChain(7);
    Marking& entry = g.Member(chain, 3, kStatusInitial);
    Marking& m4 = g.Member(chain, 4, kStatusVisited);
    Marking& m5 = g.Member(chain, 5, kStatusVisited);
    Marking& branch = g.Loose(9);
};

void ExpectPair(StreamCapture& in, std::uint32_t state, double value)
{
    EXPECT_EQ(in.Unsigned(), state);
    EXPECT_DOUBLE_EQ(in.Double(), value);
}

void ExpectKilnStream(StreamCapture& in)
{
    for (int expected : {2, 3, 3, 2, 1, 0, 0}) EXPECT_EQ(in.Int(), expected);
    // Q rows in visiting order: 3, then 5 (reached first), then 4.
    EXPECT_EQ(in.Int(), 0);
    EXPECT_EQ(in.Int(), 3);
    ExpectPair(in, 3, -(1.5 + 2.0 + 0.5 + 0.7));
    ExpectPair(in, 4, 2.0);
    ExpectPair(in, 5, 1.5);
    EXPECT_EQ(in.Int(), 2);
    EXPECT_DOUBLE_EQ(in.Double(), 0.7);  // reverse list order
    EXPECT_DOUBLE_EQ(in.Double(), 0.5);
    for (std::uint32_t single : {5u, 4u}) {
        EXPECT_EQ(in.Int(), 0);
        EXPECT_EQ(in.Int(), 1);
        ExpectPair(in, single, 0.0);
        EXPECT_EQ(in.Int(), 0);
    }
    EXPECT_EQ(in.Int(), 1);
    EXPECT_EQ(in.Int(), 1);
    EXPECT_DOUBLE_EQ(in.Double(), 0.5);
    EXPECT_EQ(in.Int(), 0);
    EXPECT_DOUBLE_EQ(in.Double(), 0.5);
    // Delta rows: 3 and 5 fire into marking 1; 4 branches, in state order,
    // with its two edges to marking 2 as one entry.
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(in.Int(), 1);
        EXPECT_EQ(in.Int(), 1);
        ExpectPair(in, 1, 1.0);
    }
    EXPECT_EQ(in.Int(), 1);
    EXPECT_EQ(in.Int(), 2);
    ExpectPair(in, 1, 0.7);
    ExpectPair(in, 2, 0.1 + 0.2);
    // Preempting targets in list order.
    EXPECT_EQ(in.Unsigned(), 2u);
    EXPECT_EQ(in.Unsigned(), 1u);
    EXPECT_TRUE(in.AtEnd()) << in.Size();
}

TEST(KilnDataStream, ChainOfThreeMembersAndTheNextPassSendTheSameStream)
{
    DetChainGraph net;
    SHOW_COMM = 0;
    for (int pass = 0; pass < 2; ++pass) {
        StreamCapture in;
        SMChain* chain = &net.chain;
        int class_id = 2;
        SendDataToKiln(in.stream, chain, class_id);
        in.Collect();
        ExpectKilnStream(in);
        EXPECT_EQ(net.entry.GetStatus(), kStatusInitial);
        EXPECT_EQ(net.m4.GetStatus(), kStatusDSended);
        EXPECT_EQ(net.m5.GetStatus(), kStatusDSended);
    }
}

TEST(KilnDataStream, ChainsThatCannotBeSentStopTheRun)
{
    using Damage = void (*)(DetChainGraph&);
    const std::pair<Damage, const char*> cases[] = {
        {[](DetChainGraph& n) { n.chain.GetMarkings().SoftClear(); },
         "SendDataToKiln\\(\\)\n.*SMC is empty"},
        {[](DetChainGraph& n) { n.m4.SetStatus(kStatusInitial), n.m4.SetType(kDelayGeneral); },
         "non det. marking in SendQMatrix"},
        {[](DetChainGraph& n) { n.chain.SetFirstStateNumber(0); }, "first state number is 0"},
        {[](DetChainGraph& n) {
             n.g.Member(n.chain, 6, kStatusVisited).SetType(kDelayDeterministic);
         },
         "not every SMC member is reachable"},
        {[](DetChainGraph& n) { n.branch.GetStt()->SetTarget(nullptr); },
         "statetransition without successor marking\n"},
    };
    for (const auto& [damage, message] : cases) {
        DetChainGraph net;
        damage(net);
        StreamCapture in;
        SMChain* chain = &net.chain;
        int class_id = 1;
        EXPECT_REPORT_EXIT(SendDataToKiln(in.stream, chain, class_id), kExitDeterministicWorkers,
                           message);
    }
}

TEST(KilnDataStream, AVanishedWorkerStopsTheRunWithoutASignal)
{
    DetChainGraph net;
    StreamCapture in;
    int ends[2];
    socketpair(AF_UNIX, SOCK_STREAM, 0, ends);
    close(ends[1]);
    std::FILE* gone = fdopen(ends[0], "w");
    SMChain* chain = &net.chain;
    int class_id = 1;
    EXPECT_REPORT_EXIT(SendDataToKiln(gone, chain, class_id), kExitDeterministicWorkers,
                       "my_fwrite\\(\\)\n.*can't write to socket!");
    std::fclose(gone);
}

// The general chain of transition 1 ("T1") with members 3 (entry) and 4;
// exponential markings 1 and 2; the branching marking 9.
struct GenChainGraph {
    GenChainGraph()
    {
        TransitionNames.Append(new Textual("T1"));
        for (Marking* m : {&out1, &out2}) m->SetType(kDelayExponential);
        branch.SetType(kDelayProbability);
        entry.SetType(kDelayGeneral);
        m4.SetType(kDelayGeneral);
        chain.SetFirstStateNumber(3);
        HandGraph::Edges(
            entry, {{&out1, 1.0, kDelayGeneral, 1}, {&m4, 2.0}, {&out2, 0.5, kDelayPreempting}});
        HandGraph::Edges(m4, {{&branch, 1.0, kDelayGeneral, 1}, {&out2, 1.0, kDelayPreempting}});
        HandGraph::Edges(branch, {{&out1, 0.25, kDelayProbability},
                                  {&out1, 0.25, kDelayProbability},
                                  {&out2, 0.5, kDelayProbability}});
    }
    ~GenChainGraph() { TransitionNames.HardClear(); }

    HandGraph g;
    Marking& out1 = g.Exp(1);
    Marking& out2 = g.Exp(2);
    SMChain& chain = g.GenChain(1);
    Marking& entry = g.Member(chain, 3, kStatusInitial);
    Marking& m4 = g.Member(chain, 4, kStatusVisited);
    Marking& branch = g.Loose(9);
};

void ExpectValueFirst(StreamCapture& in, double value, std::uint32_t state)
{
    EXPECT_DOUBLE_EQ(in.Double(), value);
    EXPECT_EQ(in.Unsigned(), state);
}

TEST(EkilnDataStream, ChainAfterTwoDeterministicOnesWithNameRowsAndFirings)
{
    GenChainGraph net;
    for (int pass = 0; pass < 2; ++pass) {
        StreamCapture in;
        WorkerStream out(in.stream, Fwrite);
        SendMDET(out, net.chain, 1, 2);
        SendQ(out, net.chain);
        SendDELTA(out, net.chain);
        out.Flush();
        in.Collect();

        EXPECT_EQ(in.Int(), 4);  // second general chain after two deterministic ones
        EXPECT_EQ(in.Int(), 2);
        EXPECT_EQ(in.Text(2), "T1");
        EXPECT_EQ(in.Unsigned(), 3u);
        EXPECT_EQ(in.Byte(), 2);
        EXPECT_EQ(in.Unsigned(), 4u);
        EXPECT_EQ(in.Byte(), 0);
        EXPECT_EQ(in.Int(), 0);
        // Q rows: the preempting edges travel as pairs too.
        EXPECT_DOUBLE_EQ(in.Double(), -2.5);
        EXPECT_EQ(in.Unsigned(), 3u);
        EXPECT_EQ(in.Unsigned(), 2u);
        ExpectValueFirst(in, 2.0, 4);
        ExpectValueFirst(in, 0.5, 2);
        EXPECT_DOUBLE_EQ(in.Double(), -1.0);
        EXPECT_EQ(in.Unsigned(), 4u);
        EXPECT_EQ(in.Unsigned(), 1u);
        ExpectValueFirst(in, 1.0, 2);
        // Delta rows: a tangible target, then a branching one in list order.
        EXPECT_EQ(in.Unsigned(), 3u);
        EXPECT_EQ(in.Unsigned(), 1u);
        ExpectValueFirst(in, 1.0, 1);
        EXPECT_EQ(in.Unsigned(), 4u);
        EXPECT_EQ(in.Unsigned(), 2u);
        ExpectValueFirst(in, 0.5, 1);
        ExpectValueFirst(in, 0.5, 2);
        EXPECT_TRUE(in.AtEnd()) << in.Size();
        EXPECT_EQ(net.entry.GetStatus(), kStatusInitial);
        EXPECT_EQ(net.m4.GetStatus(), kStatusDSended);
    }
}

TEST(EkilnDataStream, MembersWithoutAGeneralFiringStopTheRun)
{
    GenChainGraph net;
    HandGraph::Edges(net.m4, {});
    net.m4.GetStt()->SetDelayType(kDelayExponential);
    StreamCapture in;
    WorkerStream out(in.stream, Fwrite);
    // The name list is released first: the death leaves no destructor to run.
    EXPECT_REPORT_EXIT((TransitionNames.HardClear(), SendDELTA(out, net.chain)),
                       kExitGeneralWorkers,
                       "send_delta\\(\\)\n.*SMC member without gen. statetransition");
}

}  // namespace
