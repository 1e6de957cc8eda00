// The PMF file in a directory where it cannot be written. (Its blocks, and
// its absence without general transitions, are end-to-end cases.)
#include <gtest/gtest.h>

#include <string>

#include "ReaderRun.h"
#include "TempDir.h"
#include "foundation/RunState.h"
#include "language/PMFFile.h"

namespace {

TEST(PMFFile, AFileThatCannotBeOpenedEndsTheRun)
{
    TempDir scratch;
    const std::string missing = scratch.path + "/missing";
    ChildRun run = RunInChild([&] {
        Parse(Net("P ; ; e", "", "U [ in#P = e ; Uniform(2, 5) ]"));
        TmpD = missing.c_str();
        netname = "net";
        WritePMFFile();
    });
    EXPECT_EQ(run.status, 248);
    EXPECT_NE(run.output.find("file\t\t : Pendra/src/WritePMFFile\nline"), std::string::npos);
    EXPECT_NE(run.output.find("function \t : WritePMFFile()\ndescription\t : can't open file\n"
                              "additional info1 : " +
                              missing + "/net.pmf\n"),
              std::string::npos)
        << run.output;
}

}  // namespace
