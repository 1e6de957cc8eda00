// ekiln run as the engine runs it: agreement with kiln_da for a point mass,
// the lines the engine parses, and the failures of a bad distribution or
// stream.
#include <cstdio>
#include <fstream>
#include <tuple>

#include "e2e/WorkerFixture.h"
#include "harness/TestChains.h"

namespace {

// The line before "ready." gives the CPU time in the worker's own format.
void ExpectCpuLine(const WorkerResult& result, const char* format, int fields)
{
    ASSERT_GE(result.lines.size(), 2u);
    const std::string& line = result.lines[result.lines.size() - 2];
    double h = -1.0, m = -1.0, s = -1.0;
    EXPECT_EQ(std::sscanf(line.c_str(), format, &h, &m, &s), fields) << line;
    EXPECT_GE(fields == 3 ? h + m + s : h, 0.0) << line;
}

class EkilnTest : public WorkerFixture {
protected:
    void WritePmf(const std::string& text)
    {
        std::ofstream file(ModelPath() + ".pmf");
        file << "TRANSITION Other\nUNIFORM(1.000000,2.000000);\n\n"
             << "TRANSITION T1\n"
             << text << ";\n\n";
    }

    WorkerResult Run(const std::string& stream)
    {
        return RunWorker(EKILN_PATH, {"localhost", "{port}", "1e-10", ModelPath()}, stream);
    }
};

// On a queue chain and on a preempted one (whose preempting rates kiln_da
// pairs with their targets through the member order file).
TEST_F(EkilnTest, PointMassGivesTheRowsOfKiln)
{
    WritePmf("I[0.8]");
    for (const TestChain& chain : {QueueChain(6, 1.5, 2, 0.8), PreemptedChain(1, 0.8)}) {
        const WorkerResult ekiln = Run(EkilnStreamOf(chain));
        ExpectSuccess(ekiln);
        ExpectCpuLine(ekiln, "Elapsed CPU time: %lf", 1);
        ChainRows emc, conv;
        ASSERT_TRUE(ReadChainFile(ChainFile(".EMC", 1), emc));
        ASSERT_TRUE(ReadChainFile(ChainFile(".CONV", 1), conv));
        std::remove(ChainFile(".EMC", 1).c_str());
        std::remove(ChainFile(".CONV", 1).c_str());

        WriteMemberOrderFile(ModelPath() + ".SMCORDER01", chain);
        const WorkerResult kiln =
            RunWorker(KILN_DA_PATH, {"localhost", "{port}", "net", "nodebug", dir, "1e-10"},
                      KilnStreamOf(chain));
        ExpectSuccess(kiln);
        ExpectCpuLine(kiln, "Elapsed CPU time %lf:%lf:%lf", 3);
        ExpectRows(".EMC", 1, emc, 1e-15);
        ExpectRows(".CONV", 1, conv, 1e-15);
    }
}

// Files of an earlier pass must not survive a failure as if they were this
// one's. A null distribution text: the file has no block for T1, or (the
// last case) there is no file at all.
TEST_F(EkilnTest, FailuresLeaveNoChainFiles)
{
    const std::string whole = EkilnStreamOf(PreemptedChain(4, 1.0));
    const std::string rejected = "distribution of transition T1 is rejected: ";
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"R[0,2]*(x-0.5)", whole, rejected + "the density is negative at x = "},
        {"R[0,3]*0.5", whole, rejected + "the total mass is 1.5, not 1"},
        {"R[0,2]*0.5*y", whole, rejected + "character 'y' at position 12"},
        {"", whole, rejected + "the distribution text is empty"},
        {"x*e^(-x)", whole.substr(0, whole.size() - 3), "bad data stream (delta row 2 of 2)"},
        {nullptr, whole, "no block for transition T1"},
        {nullptr, whole, "can't open the PMF file"},
    };
    for (const auto& [text, stream, reason] : cases) {
        if (text)
            WritePmf(text);
        else if (reason.starts_with("no block"))
            std::ofstream(ModelPath() + ".pmf") << "TRANSITION T2\nI[1];\n\n";
        else
            std::remove((ModelPath() + ".pmf").c_str());
        if (stream == whole) {  // a damaged stream does not reach the old files
            std::ofstream(ChainFile(".EMC", 4)) << "stale";
            std::ofstream(ChainFile(".CONV", 4)) << "stale";
        }
        const WorkerResult result = Run(stream);
        ExpectFailure(result, 4, reason);
        if (reason.starts_with(rejected)) {
            ASSERT_FALSE(result.lines.empty());
            EXPECT_NE(result.lines[0].find("transition T1"), std::string::npos);
        }
    }
}

}  // namespace
