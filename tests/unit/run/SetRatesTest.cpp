// The rates that the delay tables put into a hand-built graph. (Delays that
// give no rate are end-to-end cases.)
#include "run/SetRates.h"

#include "../solution/HandGraph.h"
#include "foundation/RunState.h"
#include "run/DelayTables.h"

#include <gtest/gtest.h>

namespace {

// The delays file names transitions t1..t3 of the sub-models A and B; in
// this net they have the numbers 11..13 whatever the sub-model.
int Lookup(const Str& fullName)
{
    std::string name(fullName.GetCChar());
    return 10 + (name.back() - '0');
}

class SetRatesTest : public testing::Test {
public:
    static void ClearTables()
    {
        subnames.HardClear();
        nb_transarray.clear();
        transitionsarrays.clear();
    }

    void SetUp() override
    {
        ClearTables();
        subname = "BS";
        exp1 = &graph.Exp(1);
        exp2 = &graph.Exp(2);
        member = &graph.Member(graph.DetChain(20), 3, kStatusInitial);
        HandGraph::Edges(*exp1, {{exp2, 1.0, kDelayExponential, 11},
                                 {exp2, 1.0, kDelayExponential, 12},
                                 {exp2, 1.0, kDelayExponential, 13}});
        HandGraph::Edges(*exp2,
                         {{exp1, 1.0, kDelayExponential, 11}, {exp1, 7.0, kDelayExponential, 5}});
        HandGraph::Edges(*member, {{exp1, 1.0, kDelayExponential, 11}});
    }

    void TearDown() override { subname = ""; }

    void Load(const char* text)
    {
        DelaysFileWords words(text);
        ASSERT_TRUE(LoadDelayTables(words, Lookup));
    }

    static std::vector<double> Rates(const Marking& m)
    {
        std::vector<double> rates;
        for (const stt& s : m.Edges()) rates.push_back(s.GetDelayVal());
        return rates;
    }

    HandGraph graph;
    Marking* exp1 = nullptr;
    Marking* exp2 = nullptr;
    Marking* member = nullptr;
};

// A sets t1 = 2.5 and (first entry) t2 = 4; B, written later, sets t2 = 8
// and t3 = 0.5. Edges of other transitions and chain members keep theirs.
TEST_F(SetRatesTest, TheSkeletonTakesEverySubModelAndTheLastOneWins)
{
    Load("2 A 3 t1 0 2.5 t2 0 4 t2 0 16 B 2 t2 0 8 t3 0 0.5 *#END#*");
    SetRates();
    EXPECT_EQ(Rates(*exp1), (std::vector<double>{0.4, 0.125, 2.0}));
    EXPECT_EQ(Rates(*exp2), (std::vector<double>{0.4, 7.0}));
    EXPECT_EQ(Rates(*member), (std::vector<double>{1.0}));
}

TEST_F(SetRatesTest, ASubModelSkipsItsOwnEntries)
{
    subname = "B";
    Load("2 A 1 t2 0 4 B 2 t2 0 8 t3 0 0.5 *#END#*");
    SetRates();
    EXPECT_EQ(Rates(*exp1), (std::vector<double>{1.0, 0.25, 1.0}));
}

}  // namespace
