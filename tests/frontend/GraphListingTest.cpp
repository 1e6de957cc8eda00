// Reading mosk's class and graph listings: a marking printed again as a
// successor is one marking, a marking without state transitions has none,
// output split anywhere reads the same, and a graph beyond the limit is
// counted but not kept.
#include <gtest/gtest.h>

#include "frontend/GraphDrawing.h"
#include "frontend/GraphListing.h"

namespace {

const std::string kFrame = "\t" + std::string(63, '-') + "\n";

std::string Block(int key, const char* type, const char* places)
{
    return "Key/Number : " + std::to_string(key) + "\nStatus     : counted\nType       : " + type +
           "\nAct. Trans.: 1 0\n" + places;
}

std::string Edge(const char* value, const char* type, int transition)
{
    return std::string("Delay Value: ") + value + "\nDelay Type : " + type +
           "\nTrans. No. : " + std::to_string(transition) + "\n";
}

// Two places (Q elementary, J coloured), transitions 1 and 2; marking 1 has
// edges to 2 and to itself, marking 2 one to 3, marking 3 none.
std::string Listing()
{
    return "start ->->->->->->->-> PLACES\n\nNo.       : 1\nName      : \\__ROOT__\\Q\n"
           "Type      : elementary\nNo.       : 2\nName      : \\__ROOT__\\J\nType      : object\n"
           "stop  ->->->->->->->-> PLACES\n"
           "start ->->->->->->->-> TRANSITIONS\n\nNo.    : 2\nName   : \\__ROOT__\\Go\n"
           "No.    : 1\nName   : \\__ROOT__\\Come\nstop  ->->->->->->->-> TRANSITIONS\n"
           "start ->->->->->->->-> TRANSITIONS DEPENDENCIES\nNo.    : 9\n"
           "stop  ->->->->->->->-> TRANSITIONS DEPENDENCIES\n"
           "start ->->->->->->->-> RRG\n\n = no tang. markings  : 3\n" +
           Block(1, "exponential", "empty marking\n") + kFrame + Edge("1.5", "exponential", 1) +
           Block(2, "deterministic", "Place 0 : 2 token(s) = [0]:2\n") +
           "\t- - - - - - - - - - - - - - - - - - - - - - - - - - - -\n" +
           Edge("0.25", "exponential", 2) + Block(1, "exponential", "empty marking\n") + kFrame +
           "\n\n" + Block(2, "deterministic", "Place 0 : 2 token(s) = [0]:2\n") + kFrame +
           Edge("0.5", "deterministic", 2) +
           Block(3, "exponential", "Place 1 : 3 token(s) = [0]:1 [1]:2\n") + kFrame + "\n\n" +
           Block(3, "exponential", "Place 1 : 3 token(s) = [0]:1 [1]:2\n") +
           "\nstop  ->->->->->->->-> RRG\n---\n";
}

TEST(GraphListing, MarkingsEdgesAndNamesWhateverTheChunks)
{
    const std::string text = Listing();
    GraphListingReader whole(10);
    whole.Feed(text.data(), text.size());
    const TangibleGraph graph = whole.Graph();
    ASSERT_TRUE(graph.listed && graph.complete);
    EXPECT_EQ(graph.tangibleMarkings, 3);
    ASSERT_EQ(graph.markings.size(), 3u);
    EXPECT_EQ(graph.markings.at(2).type, "deterministic");
    EXPECT_EQ(MarkingLabel(graph, graph.markings.at(1)), "empty");
    EXPECT_EQ(MarkingLabel(graph, graph.markings.at(2)), "Q=2");
    EXPECT_EQ(MarkingLabel(graph, graph.markings.at(3)), "J: [0]:1 [1]:2");
    ASSERT_EQ(graph.edges.size(), 3u);
    EXPECT_EQ(graph.edges[1].from, 1);
    EXPECT_EQ(graph.edges[1].to, 1);
    EXPECT_EQ(graph.edges[2].from, 2);
    EXPECT_EQ(graph.edges[2].to, 3);
    EXPECT_EQ(graph.edges[2].delayType, "deterministic");
    EXPECT_EQ(graph.transitions.at(2), "Go");

    GraphListingReader bytes(10);
    for (char c : text) bytes.Feed(&c, 1);
    const TangibleGraph again = bytes.Graph();
    EXPECT_EQ(again.markings.size(), 3u);
    EXPECT_EQ(again.edges.size(), 3u);

    const std::string dot = GraphDot(graph, {0.5, 0.25}, "t");
    EXPECT_NE(dot.find("m2 [label=\"Q=2\\np=0.25\", shape=box"), std::string::npos) << dot;
    EXPECT_NE(dot.find("probability=\"0.5\""), std::string::npos);
    EXPECT_NE(dot.find("m3 [label=\"J: [0]:1 [1]:2\", shape=ellipse"), std::string::npos);
    EXPECT_NE(dot.find("m2 -> m3 [label=\"Go\\ndelay 0.5\"]"), std::string::npos);
}

TEST(GraphListing, BeyondTheLimitNothingMoreIsKept)
{
    const std::string text = Listing();
    GraphListingReader small(2);
    small.Feed(text.data(), text.size());
    const TangibleGraph graph = small.Graph();
    EXPECT_TRUE(graph.listed);
    EXPECT_FALSE(graph.complete);
    EXPECT_EQ(graph.tangibleMarkings, 3);
    EXPECT_LE(graph.markings.size(), 2u);
}

}  // namespace
