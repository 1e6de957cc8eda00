// The PMF file: one block per general transition with the distribution of
// its first general binding, and nothing without general transitions.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "ReaderRun.h"
#include "foundation/RunState.h"
#include "language/PMFFile.h"

namespace {

class PMFFile : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/pmf-test-XXXXXX";
        directory = mkdtemp(pattern);
    }
    void TearDown() override
    {
        std::remove((directory + "/net.pmf").c_str());
        rmdir(directory.c_str());
    }

    // Parses the transitions on a root page with place P and writes the file
    // into the test directory; the child prints the file (or "no file").
    ChildRun Write(const std::string& transitions)
    {
        return RunInChild([&] {
            Parse(
                "Definition :\nParameter : Page : \\\nElementaryPlace : P ; ; e\nProductPlace "
                ":\nTransition : " +
                transitions + "\nEvaluate :\n");
            TmpD = directory.c_str();
            netname = "net";
            WritePMFFile();
            std::ifstream file(directory + "/net.pmf");
            std::ostringstream text;
            text << file.rdbuf();
            std::cout << (file ? text.str() : "no file");
        });
    }

    std::string directory;
};

TEST_F(PMFFile, HoldsOneBlockPerGeneralTransitionInListOrder)
{
    ChildRun run = Write(
        "G [ in#P = e ; Exponential(1) | in#P = e ; General(I[0,1]*(1-x)^2) | in#P = e ; "
        "General(2) ]\n"
        "E [ in#P = e ; Exponential(1) ]\n"
        "U [ in#P = e ; Uniform(2, 5) ]\n"
        "N [ in#P = e ; General() ]\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output,
              "TRANSITION \\__ROOT__\\G\nI[0,1]*(1-x)^2;\n\n"
              "TRANSITION \\__ROOT__\\U\nUNIFORM(2.000000,5.000000);\n\n"
              "TRANSITION \\__ROOT__\\N\n;\n\n");
}

TEST_F(PMFFile, IsNotWrittenWithoutGeneralTransitions)
{
    EXPECT_EQ(Write("E [ in#P = e ; Deterministic(1) ]").output, "no file");
}

TEST_F(PMFFile, AFileThatCannotBeOpenedEndsTheRun)
{
    directory += "/missing";
    ChildRun run = Write("U [ in#P = e ; Uniform(2, 5) ]");
    directory.resize(directory.size() - std::string("/missing").size());
    EXPECT_EQ(run.status, 248);
    EXPECT_NE(run.output.find("file\t\t : Pendra/src/WritePMFFile\n"), std::string::npos);
    EXPECT_NE(run.output.find("function \t : WritePMFFile()\ndescription\t : can't open file\n"
                              "additional info1 : " + directory + "/missing/net.pmf\n"),
              std::string::npos)
        << run.output;
}

}  // namespace
