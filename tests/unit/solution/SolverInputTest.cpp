#include "ChainFixture.h"

#include "solution/RowPointerForm.h"
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

// The row-pointer form of coordinate entries (value, target, source), 1-based
// as the solver keeps them; lgs::toptan must be set first.
struct RowPointerForm {
    explicit RowPointerForm(const std::vector<std::tuple<double, int, int>>& entries)
        : a(static_cast<double*>(std::malloc((entries.size() + 1) * sizeof(double)))),
          ia(static_cast<int*>(std::malloc((entries.size() + 1) * sizeof(int)))),
          ja(static_cast<int*>(std::malloc((entries.size() + 1) * sizeof(int))))
    {
        lgs::nonnull = static_cast<int>(entries.size());
        for (std::size_t e = 0; e < entries.size(); ++e)
            std::tie(a[e + 1], ia[e + 1], ja[e + 1]) = entries[e];
        mat2rpfm(&a, &ia, &ja);
    }
    ~RowPointerForm()
    {
        std::free(a);
        std::free(ia);
        std::free(ja);
    }
    double* a;
    int* ia;
    int* ja;
};

TEST_F(SolverInputTest, RowPointerFormGroupsEntriesByTargetAndSumsRepeatedOnes)
{
    // P - I entries (value, target, source) in reading order; source 3 names
    // target 1 twice, apart, and source 1 target 3 twice in a row.
    std::vector<std::tuple<double, int, int>> entries = {{-1, 1, 1}, {2, 3, 1}, {0.5, 3, 1},
                                                         {3, 2, 1},  {4, 1, 2}, {-1, 2, 2},
                                                         {5, 1, 3},  {5, 3, 3}, {1, 1, 3}};
    lgs::toptan = 3;
    RowPointerForm form(entries);
    double* a = form.a;
    int* ia = form.ia;
    int* ja = form.ja;

    EXPECT_EQ(std::vector<int>(ia, ia + 4), (std::vector<int>{1, 4, 6, 8}));
    std::vector<std::vector<std::pair<int, double>>> rows(4);
    for (int i = 1; i <= 3; ++i) {
        for (int e = ia[i - 1]; e < ia[i]; ++e) rows[i].push_back({ja[e], a[e]});
        std::sort(rows[i].begin(), rows[i].end());
    }
    EXPECT_EQ(lgs::nonnull, 7);
    EXPECT_EQ(rows[1], (std::vector<std::pair<int, double>>{{1, -1}, {2, 4}, {3, 6}}));
    EXPECT_EQ(rows[2], (std::vector<std::pair<int, double>>{{1, 3}, {2, -1}}));
    EXPECT_EQ(rows[3], (std::vector<std::pair<int, double>>{{1, 2.5}, {3, 5}}));
}

TEST_F(SolverInputTest, RowPointerFormOfAChainWithManyBlocksOfRows)
{
    // More rows than the conversion's blocks, so that entries travel between
    // blocks first and within them second; rows divisible by 7 stay empty and
    // the last block is partly filled. Each value names its target and source.
    const int n = 5000;
    std::vector<std::tuple<double, int, int>> entries;
    for (int source = 1; source <= n; ++source)
        for (int step : {1, 977, 2503})
            if (int target = (source * 31 + step) % n + 1; target % 7 != 0)
                entries.push_back({target * 10000.0 + source, target, source});
    lgs::toptan = n;
    RowPointerForm form(entries);
    double* a = form.a;
    int* ia = form.ia;
    int* ja = form.ja;

    ASSERT_EQ(lgs::nonnull, static_cast<int>(entries.size()));
    std::vector<std::vector<int>> expected(n + 1), got(n + 1);
    for (const auto& [value, target, source] : entries) expected[target].push_back(source);
    int misplaced = 0;
    for (int i = 1; i <= n; ++i)
        for (int e = ia[i - 1]; e < ia[i]; ++e) {
            got[i].push_back(ja[e]);
            misplaced += a[e] != i * 10000.0 + ja[e];
        }
    for (int i = 1; i <= n; ++i) std::sort(got[i].begin(), got[i].end());
    EXPECT_EQ(got, expected);
    EXPECT_EQ(misplaced, 0);
}

}  // namespace
