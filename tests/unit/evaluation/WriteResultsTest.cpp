// The results file where the end-to-end cases cannot look: its mode, and the
// stop when it cannot be created. (The measures and their lines are
// end-to-end cases.)
#include "evaluation/NetEvaluation.h"

#include "ReportExit.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <fstream>
#include <sstream>

namespace {

TEST(WriteResults, WithoutMeasuresOnlyTheEndMarkAndTheFileIsGroupWritable)
{
    TempDir scratch;
    const std::string path = scratch.path + "/m.BSresults1";
    mode_t old = umask(0);
    WriteResults(path.c_str());
    umask(old);
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "*#END#*\n");
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0664u);
}

TEST(WriteResults, AFileThatCannotBeCreatedIsAnEvaluationError)
{
    TempDir scratch;
    const std::string path = scratch.path + "/missing/m.BSresults0";
    EXPECT_REPORT_EXIT(WriteResults(path.c_str()), 241,
                       "file\t\t : Pendra/src/NetEvaluation\n.*function \t : WriteResults\\(\\)\n"
                       "description\t : can't open file\nadditional info1 : " +
                           path);
}

}  // namespace
