// The PMF file in a directory where it cannot be written. (Its blocks, and
// its absence without general transitions, are end-to-end cases.)
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "ReaderRun.h"
#include "TempDir.h"
#include "foundation/RunState.h"
#include "language/PMFFile.h"

namespace {

class PMFFile : public testing::Test {
protected:
    // Parses the transitions on a root page with place P and writes the file
    // into the test directory; the child prints the file (or "no file").
    ChildRun Write(const std::string& transitions)
    {
        return RunInChild([&] {
            Parse(Net("P ; ; e", "", transitions));
            TmpD = directory.c_str();
            netname = "net";
            WritePMFFile();
            std::ifstream file(directory + "/net.pmf");
            std::ostringstream text;
            text << file.rdbuf();
            std::cout << (file ? text.str() : "no file");
        });
    }

    TempDir scratch;
    std::string directory = scratch.path;
};

TEST_F(PMFFile, AFileThatCannotBeOpenedEndsTheRun)
{
    directory += "/missing";
    ChildRun run = Write("U [ in#P = e ; Uniform(2, 5) ]");
    directory.resize(directory.size() - std::string("/missing").size());
    EXPECT_EQ(run.status, 248);
    EXPECT_NE(run.output.find("file\t\t : Pendra/src/WritePMFFile\n"), std::string::npos);
    EXPECT_NE(run.output.find("function \t : WritePMFFile()\ndescription\t : can't open file\n"
                              "additional info1 : " +
                              directory + "/missing/net.pmf\n"),
              std::string::npos)
        << run.output;
}

}  // namespace
