// The measures over a hand-built graph of one place P: exponential markings
// with 0, 1 and 2 tokens, a deterministic chain member with 3 and a general
// one with 1, whose steady-state probabilities are set directly.
#include "evaluation/NetEvaluation.h"

#include "../solution/HandGraph.h"
#include "ReportExit.h"
#include "TempDir.h"
#include "foundation/RunState.h"
#include "netmodel/BinaerOp.h"
#include "netmodel/Definition.h"
#include "netmodel/Function.h"
#include "netmodel/NetArrays.h"
#include "netmodel/Place.h"
#include "netmodel/RatingCell.h"
#include "netmodel/Registries.h"
#include "netmodel/UnaerOp.h"
#include "solution/SolveLGS.h"
#include "statespace/data/NetCounts.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

constexpr short kServe = 7;   // enabled in the exponential markings 1 and 2
constexpr short kFinish = 8;  // enabled only in the chain members

class NetEvaluationTest : public testing::Test {
public:
    void SetUp() override
    {
        PTmsSlot slot{1, 0};
        PTms empty{1, 0, 0, &slot, true};
        header.SetPTms(&empty);
        place = std::make_unique<Place>(&header, Capacity());
        placeArray = place.get();
        PlaceArray = &placeArray;
        no_of_places = 1;

        Marking& m1 = Tokens(graph.Exp(1), 0);
        Marking& m2 = Tokens(graph.Exp(2), 1);
        Tokens(graph.Exp(3), 2);
        Marking& m4 = Tokens(graph.Member(graph.DetChain(kFinish), 4, kStatusInitial), 3);
        Tokens(graph.Member(graph.GenChain(9), 5, kStatusInitial), 1);
        HandGraph::Edges(m1, {{&m2, 2.0, kDelayExponential, kServe}});
        HandGraph::Edges(m2,
                         {{&m1, 2.0, kDelayExponential, kServe}, {&m1, 1.0, kDelayExponential, 3}});
        HandGraph::Edges(
            m4, {{&m1, 5.0, kDelayExponential, kServe}, {&m1, 1.0, kDelayDeterministic, kFinish}});
        pi_vector = pi;
    }

    void TearDown() override
    {
        pi_vector = nullptr;
        PlaceArray = nullptr;
        no_of_places = 0;
        EvalRefs.HardClear();
    }

    // #P compared with n by op.
    static BinaerOp Count(Operator op, int n)
    {
        Function count(CountOp, &header, nullptr);
        ConstVal value(n);
        return BinaerOp(op, &count, &value);
    }

    // P[#P op n].
    static RatingCell ProbabilityOf(Operator op, int n)
    {
        BinaerOp condition = Count(op, n);
        return RatingCell(Probability, &condition);
    }

    static double Value(const Cell& measure)
    {
        return SubstitudeRatingCells(const_cast<Cell*>(&measure));
    }

    static RatingCell Throughput(short transition)
    {
        RatingCell cell(::Throughput, Str("Serve"));
        cell.SetCell2(transition);
        return cell;
    }

    static PlaceHeader header;
    HandGraph graph;
    double pi[5] = {0.1, 0.2, 0.3, 0.25, 0.15};

private:
    static Marking& Tokens(Marking& m, unsigned short n)
    {
        PTmsSlot slot{1, n};
        PTms contents{1, n, static_cast<unsigned short>(n ? 1 : 0), &slot, true};
        fill_pms(m.GetPms(), 1, [&](int) { return std::pair<int, const PTms*>(0, &contents); });
        return m;
    }

    std::unique_ptr<Place> place;
    Place* placeArray = nullptr;
};

PlaceHeader NetEvaluationTest::header(0, Str("\\__ROOT__\\P"), nullptr);

TEST_F(NetEvaluationTest, ProbabilitiesAndExpectationsCoverEveryTangibleMarking)
{
    EXPECT_DOUBLE_EQ(Value(ProbabilityOf(GreaterEqualOp, 1)), 0.9);
    Function count(CountOp, &header, nullptr);
    EXPECT_DOUBLE_EQ(Value(RatingCell(Expectation, &count)), 0.2 + 0.6 + 0.75 + 0.15);
}

// #P * 0.9 is 0, 0.9, 1.8, 2.7, 0.9: truncated to 0, 0, 1, 2, 0.
TEST_F(NetEvaluationTest, ExpectedValuesAreFormedFromWholeNumbers)
{
    Function count(CountOp, &header, nullptr);
    ConstVal factor(0.9);
    BinaerOp scaled(TimesOp, &count, &factor);
    EXPECT_DOUBLE_EQ(Value(RatingCell(Expectation, &scaled)), 1 * 0.3 + 2 * 0.25);
}

TEST_F(NetEvaluationTest, ConditionalMeasuresDivideByTheConditionAndGiveZeroWithoutIt)
{
    BinaerOp atLeastTwo = Count(GreaterEqualOp, 2);
    BinaerOp atLeastOne = Count(GreaterEqualOp, 1);
    BinaerOp never = Count(GreaterOp, 5);
    Function count(CountOp, &header, nullptr);

    EXPECT_DOUBLE_EQ(Value(RatingCell(BayesProbability, &atLeastTwo, &atLeastOne)), 0.55 / 0.9);
    EXPECT_DOUBLE_EQ(Value(RatingCell(BayesExpectation, &count, &atLeastTwo)),
                     (2 * 0.3 + 3 * 0.25) / 0.55);
    EXPECT_EQ(Value(RatingCell(BayesProbability, &atLeastOne, &never)), 0.0);
    EXPECT_EQ(Value(RatingCell(BayesExpectation, &count, &never)), 0.0);
}

// A transition fires at its rate only in exponential markings: the edge of
// kServe in the deterministic member does not count.
TEST_F(NetEvaluationTest, ThroughputCountsOnlyExponentialMarkings)
{
    EXPECT_DOUBLE_EQ(Value(Throughput(kServe)), 2.0 * 0.1 + 2.0 * 0.2);
    EXPECT_EQ(Value(Throughput(kFinish)), 0.0);
}

TEST_F(NetEvaluationTest, OperatorsCombineRatingCellValues)
{
    RatingCell p = ProbabilityOf(EqualOp, 2);  // 0.3
    ConstVal two(2);
    EXPECT_DOUBLE_EQ(Value(BinaerOp(TimesOp, &p, &two)), 0.6);
    EXPECT_DOUBLE_EQ(Value(UnaerOp(MinusOp, &p)), -0.3);
    EXPECT_EQ(SubstitudeRatingCells(nullptr), 0.0);
}

class WriteResultsTest : public NetEvaluationTest {
public:
    void Measure(const char* name, const Cell& cell)
    {
        EvalRefs.Append(new Definition(name, &cell));
    }

    std::string Results(const std::string& path)
    {
        WriteResults(path.c_str());
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    TempDir scratch;
    std::string dir = scratch.path;
};

// The names keep the backslash behind the root; values have 16 digits.
TEST_F(WriteResultsTest, OneLinePerMeasureThenTheEndMark)
{
    ConstVal one(1.0);
    ConstVal three(3.0);
    Measure("\\__ROOT__\\p", ProbabilityOf(GreaterEqualOp, 2));
    Measure("\\__ROOT__\\third", BinaerOp(DivideOp, &one, &three));
    Measure("\\__ROOT__\\tp", Throughput(kServe));
    EXPECT_EQ(Results(dir + "/m.BSresults0"),
              "\\p 0.55\n\\third 0.3333333333333333\n\\tp 0.6000000000000001\n*#END#*\n");
}

TEST_F(WriteResultsTest, WithoutMeasuresOnlyTheEndMarkAndTheFileIsGroupWritable)
{
    mode_t old = umask(0);
    std::string path = dir + "/m.BSresults1";
    EXPECT_EQ(Results(path), "*#END#*\n");
    umask(old);
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0664u);
}

TEST_F(WriteResultsTest, AFileThatCannotBeCreatedIsAnEvaluationError)
{
    std::string path = dir + "/missing/m.BSresults0";
    EXPECT_REPORT_EXIT(WriteResults(path.c_str()), 241,
                       "file\t\t : Pendra/src/NetEvaluation\n.*function \t : WriteResults\\(\\)\n"
                       "description\t : can't open file\nadditional info1 : " +
                           path);
}

}  // namespace
