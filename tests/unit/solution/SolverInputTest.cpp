#include "ChainFixture.h"

#include "solution/ChainMatrixReader.h"
#include "solution/SolveLGSState.h"
#include "solution/SolverSettings.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace {

using SolverInputTest = ChainFixture;

double drop_tolerance_with(ChainFixture& f, const std::string& plenar,
                           std::string* errors = nullptr)
{
    f.WritePlenar(plenar);
    testing::internal::CaptureStderr();
    double value = get_drop_tolerance(1e-7);
    std::string printed = testing::internal::GetCapturedStderr();
    if (errors) *errors = printed;
    return value;
}

TEST_F(SolverInputTest, DropToleranceFromThePerUserFile)
{
    EXPECT_DOUBLE_EQ(drop_tolerance_with(*this, "HOST a\n"), 1e-8);
    EXPECT_EQ(drop_tolerance_with(*this, "HOST a\ndroptolerance none\n"), 0.0);
    EXPECT_EQ(drop_tolerance_with(*this, "DROPTOLERANCE 0.5\n"), 0.5);
    EXPECT_DOUBLE_EQ(drop_tolerance_with(*this, "DropTolerance Automatic\n"), 1e-8);

    // A value that is no number is an end-to-end case.
    std::string errors;
    EXPECT_DOUBLE_EQ(drop_tolerance_with(*this, "DROPTOLERANCE\n", &errors), 1e-8);
    EXPECT_NE(errors.find("missing value"), std::string::npos);
}

TEST_F(SolverInputTest, DropToleranceNeedsHomeAndItsFile)
{
    std::filesystem::remove(dir_ + "/.Plenar");
    EXPECT_SOLVER_EXIT(get_drop_tolerance(1e-7),
                       "\t\t can't open file '.*/.Plenar' for reading!\n");
    EXPECT_SOLVER_EXIT((unsetenv("HOME"), get_drop_tolerance(1e-7)),
                       "\t\t environment variable 'HOME' not set!\n");
}

// The DEBUG lines of the direct solver tell whether a drop tolerance is used.
TEST_F(SolverInputTest, RefusedOrAbsentDropToleranceDropsNothing)
{
    WriteAux(2);
    WriteRows(".EMC00", {{1, {{1.0, 2}}}, {2, {{1.0, 1}}}});
    WriteSojournTimes({1.0, 1.0});
    DEBUG = 1;
    for (auto [plenar, shown] : {std::tuple{"DROPTOLERANCE 0.5\n", false},
                                 std::tuple{"DROPTOLERANCE NONE\n", false}, std::tuple{"", true}}) {
        WritePlenar(plenar);
        Solve("-a", 100, 1e-7);
        EXPECT_EQ(out.find("\t\t droptolerance: 1e-08\n\t\t number of dropped elements: 0\n") !=
                      std::string::npos,
                  shown)
            << plenar << out;
        EXPECT_EQ(out.find("droptolerance"), out.rfind("droptolerance"));
    }
    DEBUG = 0;
}

TEST_F(SolverInputTest, DimensionFileMustNameTheTangibleMarkings)
{
    EXPECT_SOLVER_EXIT(get_dimension("net"), "\t\t can't open file '.*/net.AUX' for reading!\n");
    std::ofstream(Path(".AUX")) << "MARKINGS 3\n";
    EXPECT_SOLVER_EXIT(get_dimension("net"),
                       "\t\t file '.*/net.AUX' doesn't contain a line 'TANGIBLE MARKINGS "
                       "<number>' !\n");
    std::ofstream(Path(".AUX")) << "other\nTANGIBLE MARKINGS 12\n";
    EXPECT_EQ(get_dimension("net"), 12);
}

TEST_F(SolverInputTest, ReadingStartsAtFileOneWhenFileZeroIsMissingAndStopsAtAGap)
{
    WriteAux(2);
    WriteRows(".EMC01", {{1, {{1.0, 2}}}});
    WriteRows(".EMC02", {{2, {{1.0, 1}}}});
    WriteRows(".EMC04", {{2, {{0.5, 2}, {0.5, 1}}}});  // behind the gap: never read
    WriteSojournTimes({0.5, 0.25});
    std::vector<double> pi = Solve("-a");
    EXPECT_NEAR(pi[0], 2.0 / 3, 1e-12);
    EXPECT_NEAR(pi[1], 1.0 / 3, 1e-12);
}

TEST_F(SolverInputTest, DamagedChainFilesEndTheRun)
{
    WriteAux(2);
    WriteSojournTimes({1.0, 1.0});
    WriteRows(".EMC00", {{1, {{1.0, 3}}}, {2, {{1.0, 1}}}});
    EXPECT_SOLVER_EXIT(SolveLGS("-i", "net", 100, 1e-7),
                       "net.EMC00' refers to state 3 outside 1..2");

    WriteRows(".EMC00", {{1, {{1.0, 2}}}, {2, {{1.0, 1}}}});
    std::filesystem::resize_file(Path(".EMC00"), std::filesystem::file_size(Path(".EMC00")) - 1);
    EXPECT_SOLVER_EXIT(SolveLGS("-i", "net", 100, 1e-7), "\t\t can't read file '.*/net.EMC00' !\n");
}

// The chain's rows as the solver holds them: per row of A (a target state)
// its (column, value) pairs in the order they are stored.
std::vector<std::vector<std::pair<int, double>>> stored_rows(int n)
{
    std::vector<std::vector<std::pair<int, double>>> rows(n + 1);
    for (int i = 1; i <= n; ++i)
        for (int e = lgs::ia[i - 1]; e < lgs::ia[i]; ++e) rows[i].push_back({lgs::ja[e], lgs::a[e]});
    return rows;
}

void read_rows(int n)
{
    lgs::toptan = n;
    read_chain_rows("net", &lgs::a, &lgs::ia, &lgs::ja);
}

void release_rows()
{
    for (void* p : {static_cast<void*>(lgs::a), static_cast<void*>(lgs::ia),
                    static_cast<void*>(lgs::ja), static_cast<void*>(lgs::min_ci)})
        std::free(p);
}

// P of three states with a repeated target apart (1 -> 2), a row without a
// self-loop (1, 3) and one with two (2).
const std::vector<ChainRow> kRepeatedEntries = {
    {1, {{0.5, 2}, {0.25, 3}, {0.25, 2}}},
    {2, {{0.5, 2}, {0.25, 2}, {0.25, 1}}},
    {3, {{1.0, 1}}},
};

TEST_F(SolverInputTest, RowsOfTheTransposeHoldSummedEntriesInReadingOrder)
{
    WriteAux(3);
    WriteRows(".EMC00", kRepeatedEntries);
    read_rows(3);
    using Row = std::vector<std::pair<int, double>>;
    EXPECT_EQ(stored_rows(3), (std::vector<Row>{{},
                                                 {{1, -1.0}, {2, 0.25}, {3, 1.0}},
                                                 {{1, 0.75}, {2, -0.25}},
                                                 {{1, 0.25}, {3, -1.0}}}));
    EXPECT_EQ(lgs::ia[3], 8);
    EXPECT_EQ(lgs::nonnull, 7);
    EXPECT_EQ(std::vector<int>(lgs::min_ci + 1, lgs::min_ci + 4), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(lgs::abs_min, 0.25);
    release_rows();
}

TEST_F(SolverInputTest, RowsOfAnIrregularChainSpreadOverTwoFiles)
{
    // Every entry's value names its source and target, so a misplaced entry
    // shows; rows divisible by 7 of A stay empty but for their diagonal.
    const int n = 3000;
    std::vector<ChainRow> first, second;
    std::vector<std::vector<std::pair<int, double>>> expected(n + 1);
    for (int source = 1; source <= n; ++source) {
        ChainRow row{static_cast<std::uint32_t>(source), {}};
        for (int step : {1, 977, 2503})
            if (int target = (source * 31 + step) % n + 1; target % 7 != 0 && target != source)
                row.entries.push_back({target * 10000.0 + source, target});
        (source % 2 ? first : second).push_back(row);
    }
    for (const auto* file : {&first, &second})
        for (const ChainRow& row : *file) {
            for (const auto& [value, target] : row.entries)
                expected[target].push_back({static_cast<int>(row.row), value});
            expected[row.row].push_back({static_cast<int>(row.row), -1.0});
        }
    WriteAux(n);
    WriteRows(".EMC00", first);
    WriteRows(".EMC01", second);
    read_rows(n);
    EXPECT_EQ(stored_rows(n), expected);
    release_rows();
}

// The listing shows each row of P as the files hold it, then as stored: a
// row without a self-loop gets the diagonal 0 of P, -1 of P - I; only the
// first of two self-loops is lowered by one.
TEST_F(SolverInputTest, MatrixListingShowsTheRowsOfTheFiles)
{
    WriteAux(3);
    WriteRows(".EMC00", kRepeatedEntries);
    WriteSojournTimes({1.0, 1.0, 1.0});
    SHOW_LGS = 1;
    std::vector<double> pi = Solve("-a");
    SHOW_LGS = 0;
    EXPECT_NE(out.find("\n\t\t P-Matrix : "
                       "\n\t\t 1 : (2) 0.5 (3) 0.25 (2) 0.25 (1) 0"
                       "\n\t\t 2 : (2) 0.5 (2) 0.25 (1) 0.25"
                       "\n\t\t 3 : (1) 1 (3) 0\n"
                       "\n\t\t renormaled P-Matrix : "
                       "\n\t\t 1 : (2) 0.5 (3) 0.25 (2) 0.25 (1) -1"
                       "\n\t\t 2 : (2) -0.5 (2) 0.25 (1) 0.25"
                       "\n\t\t 3 : (1) 1 (3) -1\n"),
              std::string::npos)
        << out;
    // The records as read, each stored entry numbered: the synthesised
    // diagonal of row 1 is the fourth.
    EXPECT_NE(out.find("\t\t ++++++++++> SolveLGS : P_row_entry.column_index  = 2\n"
                       "\t\t ++++++++++> SolveLGS : P_row_entry.probability   = 0.25\n\n"
                       "\t\t ++++++++++> SolveLGS : x[0][3]   = 0.25\n"
                       "\t\t ++++++++++> SolveLGS : ix[0][3]  = 2\n"
                       "\t\t ++++++++++> SolveLGS : jx[0][3]  = 1\n\n"
                       "\t\t ++++++++++> SolveLGS : x[0][4]   = -1\n"
                       "\t\t ++++++++++> SolveLGS : ix[0][4]  = 1\n"
                       "\t\t ++++++++++> SolveLGS : jx[0][4]  = 1\n\n"
                       "\t\t ++++++++++> SolveLGS : P_row_header.entries_in_row   = 3\n"
                       "\t\t ++++++++++> SolveLGS : P_row_header.row_index    = 2\n"),
              std::string::npos)
        << out;
    // pi P = pi: pi_2 = 3 pi_1, pi_3 = pi_1 / 4.
    EXPECT_NEAR(pi[0], 4.0 / 17, 1e-12);
    EXPECT_NEAR(pi[1], 12.0 / 17, 1e-12);
    EXPECT_NEAR(pi[2], 1.0 / 17, 1e-12);
}

}  // namespace
