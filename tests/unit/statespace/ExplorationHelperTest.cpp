// The exploration shared with a helper process gives the graph that the
// generating process gives alone, marking for marking and edge for edge,
// also when the helper falls behind, and a fatal report or output met by
// the helper is made by the generating process in its place.
#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <thread>
#include <string>
#include <vector>

#include "FatalReport.h"
#include "GraphGeneration.h"
#include "GraphInspection.h"
#include "TestNet.h"
#include "statespace/CreateRRG.h"
#include "statespace/ExplorationHelper.h"
#include "statespace/FiringTimeExplorer.h"
#include "statespace/InterningPipeline.h"
#include "statedata/StateSpaceGlobals.h"

namespace {

// Tokens running round a ring of four places at different rates; the last
// place may pass one to a fifth place from which an immediate transition
// (two bindings of weights 1 and 3) puts it on the first or the second.
// Hundreds of markings, most of them with several successors, some reached
// through vanishing markings.
std::vector<Place*> BuildRingWithVanishing(TestNet& net, unsigned short tokens)
{
    std::vector<Place*> p;
    for (const char* name : {"p0", "p1", "p2", "p3"}) p.push_back(net.AddPlace(name));
    p.push_back(net.AddPlace("v"));
    p.push_back(net.AddPlace("start", tokens));
    net.Add("s", {{{{p[5], 1}}, {{p[0], 1}}, Exp(0.5)}});
    const char* names[3] = {"t0", "t1", "t2"};
    for (int i = 0; i < 3; ++i)
        net.Add(names[i], {{{{p[i], 1}}, {{p[i + 1], 1}}, Exp(i + 1.0)}});
    net.Add("t3", {{{{p[3], 1}}, {{p[4], 1}}, Exp(4.0)}});
    net.Add("i", {{{{p[4], 1}}, {{p[0], 1}}, Imm(1.0)}, {{{p[4], 1}}, {{p[1], 1}}, Imm(3.0)}});
    net.Finish();
    return p;
}

// A helper's batch is never taken back unless `mayTakeBack`: where a test
// relies on the helper exploring, a loaded machine must not decide it.
std::vector<std::string> Generate(bool helper, std::size_t batch, bool mayTakeBack = false)
{
    const auto patience = mayTakeBack ? std::chrono::microseconds(std::chrono::milliseconds(1))
                                      : std::chrono::microseconds(std::chrono::hours(1));
    return GenerateGraph([](TestNet& net) { return BuildRingWithVanishing(net, 9); },
                         ExplorationSettings{helper, batch, patience});
}

TEST(ExplorationHelper, SharedExplorationGivesTheSameGraphInEveryBatchSize)
{
    const std::vector<std::string> alone = Generate(false, 256);
    ASSERT_GT(alone.size(), 300u);
    for (std::size_t batch : {1, 3, 12}) {
        SCOPED_TRACE("batches of " + std::to_string(batch));
        EXPECT_EQ(Generate(true, batch), alone);
        EXPECT_GT(MarkingsExploredByHelper(), 0u);
    }
}

// Answers that outgrow their room: the helper answers the markings before
// the one that did not fit and ends, and the generating process explores the
// rest, also when that happens in the middle of a batch.
TEST(ExplorationHelper, AnAnswerTooLargeForItsRoomEndsTheHelperWithoutLoss)
{
    const std::vector<std::string> alone = Generate(false, 256);
    for (std::size_t room : {0, 1500}) {
        SCOPED_TRACE("rooms of " + std::to_string(room) + " bytes");
        GiveHelperAnswersRoomOf(room);
        EXPECT_EQ(Generate(true, 12), alone);
        GiveHelperAnswersRoomOf(kHelperAnswerRoom);
        if (room == 0) {
            EXPECT_EQ(MarkingsExploredByHelper(), 0u);
        } else {
            EXPECT_GT(MarkingsExploredByHelper(), 0u);
        }
        EXPECT_LT(MarkingsExploredByHelper(), 2 * 12u);
    }
}

// A helper starved of the processor now and then: markings with two tokens
// on the second place take it milliseconds, the others no time.
void SlowInTheHelper(const Pms& contents)
{
    if (!CollectingForHelper()) return;
    for (int i = 0; i < contents.size; ++i)
        if (contents.places[i].place == 1 && contents.places[i].quant == 2)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

TEST(ExplorationHelper, BatchesOfAHelperThatFallsBehindAreTakenBack)
{
    const std::vector<std::string> alone = Generate(false, 256);
    ObserveExploration(SlowInTheHelper);
    for (std::size_t batch : {1, 2, 3}) {
        SCOPED_TRACE("batches of " + std::to_string(batch));
        // Answers in time and late ones, dropped when they come, interleave
        // (on a loaded machine the answers in time may be few or none).
        EXPECT_EQ(Generate(true, batch, true), alone);
        EXPECT_GT(HelperBatchesTakenBack(), 0u);
    }
    ObserveExploration(nullptr);
}

// Written by whichever process explores a marking with an odd number of
// tokens on the first place: about every other marking.
void WriteOddFirstPlaces(const Pms& contents)
{
    for (int i = 0; i < contents.size; ++i)
        if (contents.places[i].place == 0 && contents.places[i].quant % 2 == 1)
            std::printf("p0 holds %u\n", contents.places[i].quant);
}

std::string OutputOf(bool helper, std::size_t batch, std::vector<std::string>& graph)
{
    testing::internal::CaptureStdout();
    graph = Generate(helper, batch);
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

// A line the helper would write must come from the generating process, in
// its place among the others: the helper's output goes nowhere, so the
// batch is explored again and the helper ends.
TEST(ExplorationHelper, WhatTheHelperWouldWriteIsWrittenInItsPlace)
{
    ObserveExploration(WriteOddFirstPlaces);
    std::vector<std::string> alone, shared;
    const std::string aloneOutput = OutputOf(false, 256, alone);
    const std::string sharedOutput = OutputOf(true, 3, shared);
    ObserveExploration(nullptr);
    EXPECT_NE(aloneOutput.find("p0 holds 1\n"), std::string::npos);
    EXPECT_EQ(sharedOutput, aloneOutput);
    EXPECT_EQ(shared, alone);
    // The helper stopped at its first line, long before its share.
    EXPECT_LT(MarkingsExploredByHelper(), alone.size() / 4);
}

// The weights of the immediate transition sum to zero: the first marking
// whose exploration reaches v ends the run, deep in the graph, whichever
// process explores it.
TEST(ExplorationHelper, FatalReportMetByTheHelperIsMadeInItsPlace)
{
    for (std::size_t batch : {1, 4}) {
        auto build = [batch] {
            ShareExplorationInBatchesOf(batch);
            WaitForHelperAtLeast(std::chrono::hours(1));
            TestNet net;
            Place* p[4] = {net.AddPlace("p0", 6), net.AddPlace("p1"), net.AddPlace("p2"),
                           net.AddPlace("v")};
            net.Add("t0", {{{{p[0], 1}}, {{p[1], 1}}, Exp(1.0)}});
            net.Add("t1", {{{{p[1], 1}}, {{p[2], 1}}, Exp(2.0)}});
            net.Add("t2", {{{{p[2], 4}}, {{p[3], 1}}, Exp(3.0)}});
            net.Add("i", {{{{p[3], 1}}, {{p[0], 4}}, RawWeight(1.0)},
                          {{{p[3], 1}}, {{p[0], 4}}, RawWeight(-1.0)}});
            net.Finish();
            CreateRRG();
        };
        EXPECT_REPORT_EXIT(build(), kGenerationStatus,
                           ErrorBlock("Pendra/src/HandleImmTransitions", 244, "ChkAndFireImm()",
                                      "division by zero"));
    }
}

}  // namespace
