// The solution driver on graphs built by hand: the chain files it writes for
// the exponential markings, its failures, and the planning of deterministic
// chains. (Whole solutions, one without exponential markings too, are
// end-to-end cases.)
#include "solution/ExpChainFiles.h"
#include "solution/KilnInfo.h"

#include "ChainFixture.h"
#include "HandGraph.h"

#include <fstream>
#include <sstream>

// Rows compare field by field (found by argument lookup next to ChainRow).
static bool operator==(const ChainRow& a, const ChainRow& b)
{
    return a.row == b.row && a.entries == b.entries;
}

namespace {

using Entries = std::vector<std::pair<double, std::uint32_t>>;

class SolveNetModelTest : public ChainFixture {
public:
    void SetUp() override
    {
        ChainFixture::SetUp();
        netname = "net";
    }

    std::string ReadText(const std::string& suffix) const
    {
        std::ifstream in(Path(suffix), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::vector<ChainRow> ReadRows(const std::string& suffix) const
    {
        std::istringstream in(ReadText(suffix));
        std::vector<ChainRow> rows;
        std::uint32_t header[2];
        while (in.read(reinterpret_cast<char*>(header), sizeof header)) {
            ChainRow row{header[0], {}};
            for (std::uint32_t k = 0; k < header[1]; ++k) row.entries.push_back(ReadRecord(in));
            rows.push_back(row);
        }
        return rows;
    }

    Entries ReadConversion() const
    {
        std::istringstream in(ReadText(".CONV00"));
        Entries records;
        while (in.peek() != EOF) records.push_back(ReadRecord(in));
        return records;
    }

    HandGraph graph;

private:
    static std::pair<double, std::uint32_t> ReadRecord(std::istream& in)
    {
        std::pair<double, std::uint32_t> record;
        in.read(reinterpret_cast<char*>(&record.first), 8);
        in.read(reinterpret_cast<char*>(&record.second), 4);
        return record;
    }
};

// 1 -> 2 (2.0), 1 -> 3 (6.0), 2 -> 1 (1.0), 3 -> 1 (4.0): the rows are the
// jump probabilities, the conversion records the mean sojourn times.
TEST_F(SolveNetModelTest, ThreeStateChainGivesItsRowsSojournTimesAndDimension)
{
    Marking& m1 = graph.Exp(1);
    Marking& m2 = graph.Exp(2);
    Marking& m3 = graph.Exp(3);
    HandGraph::Edges(m1, {{&m2, 2.0}, {&m3, 6.0}});
    HandGraph::Edges(m2, {{&m1, 1.0}});
    HandGraph::Edges(m3, {{&m1, 4.0}});
    WriteFilesForMExp();
    ::WriteAux();
    EXPECT_EQ(
        ReadRows(".EMC00"),
        (std::vector<ChainRow>{{1, {{0.25, 2}, {0.75, 3}}}, {2, {{1.0, 1}}}, {3, {{1.0, 1}}}}));
    EXPECT_EQ(ReadConversion(), (Entries{{0.125, 1}, {1.0, 2}, {0.25, 3}}));
    EXPECT_EQ(ReadText(".AUX"), "TANGIBLE MARKINGS 3\n");
}

TEST_F(SolveNetModelTest, OnlyAdjacentEdgesToOneTargetAreMerged)
{
    Marking& m1 = graph.Exp(1);
    Marking& m2 = graph.Exp(2);
    Marking& m3 = graph.Exp(3);
    // Adjacent: merged. A probability edge counts in its group but not in
    // the sum of rates; an edge without target is left out.
    HandGraph::Edges(m1, {{&m2, 1.0}, {&m2, 3.0}, {&m3, 4.0, kDelayProbability}, {nullptr, 4.0}});
    // Separated by an edge to another target: two entries.
    HandGraph::Edges(m2, {{&m1, 1.0}, {&m3, 2.0}, {&m1, 1.0}});
    HandGraph::Edges(m3, {{&m3, 1.0}});
    WriteFilesForMExp();
    EXPECT_EQ(ReadRows(".EMC00"), (std::vector<ChainRow>{{1, {{0.5, 2}, {0.5, 3}}},
                                                         {2, {{0.25, 1}, {0.5, 3}, {0.25, 1}}},
                                                         {3, {{1.0, 3}}}}));
    EXPECT_EQ(ReadConversion(), (Entries{{0.125, 1}, {0.25, 2}, {1.0, 3}}));
}

TEST_F(SolveNetModelTest, FailuresEndTheRunWithTheDriverStatus)
{
    Marking& m1 = graph.Exp(1);
    Marking& m2 = graph.Exp(2);
    HandGraph::Edges(m1, {{&m2, 1.0}});
    HandGraph::Edges(m2, {{&m1, 1.0, kDelayDeterministic}});
    EXPECT_REPORT_EXIT(WriteFilesForMExp(), 244,
                       "line\t\t : 138\nfunction \t : WriteFilesForMExp\\(\\)\ndescription\t : "
                       "division by zero\nadditional info1 : sum of rates is zero");

    std::string missing = dir_ + "/no/such";
    TmpDir = missing.data();
    EXPECT_REPORT_EXIT(WriteFilesForMExp(), 244,
                       "line\t\t : 125\nfunction \t : WriteFilesForMExp\\(\\)\ndescription\t : "
                       "can't open file for writing\nadditional info1 : " +
                           missing + "/net.EMC00");
    EXPECT_REPORT_EXIT(::WriteAux(), 244,
                       "line\t\t : 195\nfunction \t : WriteAux\\(\\)\ndescription\t : can't "
                       "open file\nadditional info1 : " +
                           missing + "/net.AUX");
}

// The walk over a deterministic chain counts the rate edges of the entry
// marking and of the "visited" members its exponential edges lead to; it
// enters neither a "last of succ" member nor a member reached by preemption.
TEST_F(SolveNetModelTest, PlanningWalksTheExponentialTreeOfEachChain)
{
    Marking& out1 = graph.Exp(1);
    HandGraph::Edges(out1, {{&out1, 1.0}});
    SMChain& chain = graph.DetChain(7);
    SMChain& empty = graph.DetChain(8);
    Marking& entry = graph.Member(chain, 2, kStatusInitial);
    Marking& a = graph.Member(chain, 3, kStatusVisited);
    Marking& last = graph.Member(chain, 4, kStatusLastOfSucc);
    Marking& below = graph.Member(chain, 5, kStatusVisited);
    Marking& reachedByPreemption = graph.Member(chain, 6, kStatusVisited);
    HandGraph::Edges(entry, {{&out1, 1.0, kDelayDeterministic, 7},
                             {&a, 2.0},
                             {&reachedByPreemption, 1.0, kDelayPreempting}});
    HandGraph::Edges(a, {{&out1, 1.0, kDelayDeterministic, 7}, {&last, 3.0}});
    HandGraph::Edges(last, {{&out1, 1.0, kDelayDeterministic, 7}, {&below, 5.0}, {&entry, 4.5}});
    HandGraph::Edges(below, {{&out1, 1.0, kDelayDeterministic, 7}, {&entry, 100.0}});
    HandGraph::Edges(reachedByPreemption, {{&out1, 1.0, kDelayDeterministic, 7}, {&a, 100.0}});

    std::vector<kilninfo> records(3);
    kilninfo* infos = records.data();
    double total = 0.5;
    ObtainKilnInfos(infos, total);

    // entry: 2 rate edges, exit rate 3; a: 1 rate edge, exit rate 3.
    EXPECT_EQ(records[0].eta, 3u);
    EXPECT_DOUBLE_EQ(records[0].max_qii, 3.0);
    EXPECT_DOUBLE_EQ(records[0].effort, 3 * 3 * 0.00261);
    EXPECT_EQ(records[0].kb_p_sec, 0u);  // sqrt(1 * 0.02349)
    EXPECT_EQ(records[0].SMCs, &chain);
    EXPECT_DOUBLE_EQ(records[0].tau, 1.0);
    EXPECT_EQ(records[0].host, nullptr);
    EXPECT_EQ(records[1].SMCs, &empty);
    EXPECT_EQ(records[1].eta, 0u);
    EXPECT_DOUBLE_EQ(records[1].effort, 0.0);
    EXPECT_DOUBLE_EQ(total, 0.5 + records[0].effort);
    EXPECT_EQ(records[2].SMCs, nullptr);
}

// Where exponential moves between two chains left a cycle of "visited"
// members unmarked, the walk follows each member once along its path and
// ends: the edge back to a member on the path is counted, not followed.
TEST_F(SolveNetModelTest, PlanningEndsOnACycleTheExaminationLeftUnmarked)
{
    Marking& out = graph.Exp(1);
    HandGraph::Edges(out, {{&out, 1.0}});
    SMChain& chain = graph.DetChain(7);
    Marking& entry = graph.Member(chain, 2, kStatusInitial);
    Marking& a = graph.Member(chain, 3, kStatusVisited);
    Marking& b = graph.Member(chain, 4, kStatusVisited);
    HandGraph::Edges(entry, {{&out, 1.0, kDelayDeterministic, 7}, {&a, 2.0}});
    HandGraph::Edges(a, {{&out, 1.0, kDelayDeterministic, 7}, {&b, 3.0}});
    HandGraph::Edges(b, {{&out, 1.0, kDelayDeterministic, 7}, {&a, 6.0}});

    std::vector<kilninfo> records(2);
    kilninfo* infos = records.data();
    double total = 0.0;
    ObtainKilnInfos(infos, total);

    // One rate edge each from entry, a and b; b's exit rate is the largest.
    EXPECT_EQ(records[0].eta, 3u);
    EXPECT_DOUBLE_EQ(records[0].max_qii, 6.0);
}

}  // namespace
