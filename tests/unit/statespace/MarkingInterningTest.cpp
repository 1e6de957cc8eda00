#include "CountVector.h"
#include "statedata/StateSpaceGlobals.h"
#include "statespace/MarkingInterning.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Edge {
    const Marking* target;
    double value;
    int type;
};

// The edges of m, the oldest first.
std::vector<Edge> EdgesOf(const Marking& m)
{
    std::vector<Edge> edges;
    for (std::uint32_t k = 0; k < m.EdgeCount(); ++k) {
        const stt& s = m.OldestEdge(k);
        edges.push_back(Edge{s.Target(), s.GetDelayVal(), s.GetDelayType()});
    }
    return edges;
}

}  // namespace

// A link to a stored marking by its number adds a probability to the
// probability edge already leading there, as a link to the marking itself
// does, and adds every other edge anew; either way the edge leads to the
// marking of that number.
TEST(MarkingInterning, LinksByNumberMergeProbabilitiesOnly)
{
    MHash.CreateHash(101, kShowNothing);
    CountVector a({1, 0, 2});
    CountVector b({0, 3});
    bool found = true;
    Marking* first = StoreMarking(a.pms, nullptr, found);
    EXPECT_FALSE(found);
    Marking* second = StoreMarking(b.pms, nullptr, found);
    Marking source;
    LinkToStored(source, 1u, DelayVal(0.25, kDelayProbability));
    LinkToStored(source, 0u, DelayVal(0.5, kDelayProbability));
    LinkToStored(source, 1u, DelayVal(0.125, kDelayProbability));
    LinkToStored(source, 1u, DelayVal(2.0, kDelayExponential));
    LinkToStored(source, *second, DelayVal(0.0625, kDelayProbability));
    LinkToStored(source, 1u, DelayVal(2.0, kDelayExponential));
    std::vector<Edge> edges = EdgesOf(source);
    ASSERT_EQ(edges.size(), 4u);
    EXPECT_EQ(edges[0].target, second);
    EXPECT_EQ(edges[0].value, 0.4375);
    EXPECT_EQ(edges[0].type, kDelayProbability);
    EXPECT_EQ(edges[1].target, first);
    EXPECT_EQ(edges[1].value, 0.5);
    for (int k : {2, 3}) {
        EXPECT_EQ(edges[k].target, second);
        EXPECT_EQ(edges[k].value, 2.0);
        EXPECT_EQ(edges[k].type, kDelayExponential);
    }
    source.ClearEdges();
    MHash.Clear();
}
