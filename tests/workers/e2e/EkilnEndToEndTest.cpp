// ekiln run as the engine runs it: general firing times on chains with
// closed-form rows, agreement with kiln_da for a point mass, and the
// failures of a bad distribution or stream.
#include <fstream>

#include "e2e/ClosedForms.h"
#include "e2e/WorkerFixture.h"

namespace {

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

TEST_F(EkilnTest, ErlangFiringOnPreemptedChain)
{
    WritePmf("x*e^(-x)");
    const WorkerResult result = Run(EkilnStreamOf(PreemptedChain(4, 1.0)));
    ExpectSuccess(result);
    ASSERT_GE(result.lines.size(), 2u);
    const std::string& cpu = result.lines[result.lines.size() - 2];
    ASSERT_EQ(cpu.substr(0, 18), "Elapsed CPU time: ");
    double seconds = -1.0;
    EXPECT_EQ(std::sscanf(cpu.c_str() + 18, "%lf", &seconds), 1);
    EXPECT_GE(seconds, 0.0);

    ChainRows emc, conv;
    PreemptedRows(ErlangTwoIntegrals(), emc, conv);
    ExpectRows(".EMC", 4, emc, 1e-9);
    ExpectRows(".CONV", 4, conv, 1e-9);
}

TEST_F(EkilnTest, UniformFiringOnQueueChain)
{
    WritePmf("R[0,2]*0.5");
    const int capacity = 5;
    TestChain chain = QueueChain(capacity, 1.2, 3, 1.0);
    chain.classNumber = 2;
    ExpectSuccess(Run(EkilnStreamOf(chain)));
    ChainRows emc, conv;
    QueueRows(capacity, 3, UniformArrivals(1.2, 2.0), emc, conv);
    ExpectRows(".EMC", 2, emc, 1e-9);
    ExpectRows(".CONV", 2, conv, 1e-9);
}

TEST_F(EkilnTest, PointMassGivesTheRowsOfKiln)
{
    WritePmf("I[0.8]");
    const TestChain chain = QueueChain(6, 1.5, 2, 0.8);
    ExpectSuccess(Run(EkilnStreamOf(chain)));
    ChainRows emc, conv;
    ASSERT_TRUE(ReadChainFile(ChainFile(".EMC", 1), emc));
    ASSERT_TRUE(ReadChainFile(ChainFile(".CONV", 1), conv));
    std::remove(ChainFile(".EMC", 1).c_str());
    std::remove(ChainFile(".CONV", 1).c_str());

    ExpectSuccess(RunWorker(KILN_DA_PATH, {"localhost", "{port}", "net", "nodebug", dir, "1e-10"},
                            KilnStreamOf(chain)));
    ExpectRows(".EMC", 1, emc, 1e-15);
    ExpectRows(".CONV", 1, conv, 1e-15);
}

TEST_F(EkilnTest, RejectedDistributionsLeaveNoChainFiles)
{
    const std::pair<const char*, const char*> cases[] = {
        {"R[0,2]*(x-0.5)", "the density is negative at x = "},
        {"R[0,3]*0.5", "the total mass is 1.5, not 1"},
        {"R[0,2]*0.5*y", "character 'y' at position 12"},
        {"", "the distribution text is empty"},
    };
    for (const auto& [text, reason] : cases) {
        WritePmf(text);
        // Files of an earlier pass must not survive as if they were this one's.
        std::ofstream(ChainFile(".EMC", 4)) << "stale";
        std::ofstream(ChainFile(".CONV", 4)) << "stale";
        const WorkerResult result = Run(EkilnStreamOf(PreemptedChain(4, 1.0)));
        ExpectFailure(result, 4,
                      std::string("distribution of transition T1 is rejected: ") + reason);
        ASSERT_FALSE(result.lines.empty());
        EXPECT_NE(result.lines[0].find("transition T1"), std::string::npos);
    }
}

TEST_F(EkilnTest, MissingDistributionFails)
{
    std::ofstream(ModelPath() + ".pmf") << "TRANSITION T2\nI[1];\n\n";
    ExpectFailure(Run(EkilnStreamOf(PreemptedChain(4, 1.0))), 4, "no block for transition T1");
    std::remove((ModelPath() + ".pmf").c_str());
    ExpectFailure(Run(EkilnStreamOf(PreemptedChain(4, 1.0))), 4, "can't open the PMF file");
}

TEST_F(EkilnTest, DamagedStreamFailsVisibly)
{
    WritePmf("x*e^(-x)");
    const std::string whole = EkilnStreamOf(PreemptedChain(4, 1.0));
    ExpectFailure(Run(whole.substr(0, whole.size() - 3)), 4, "bad data stream (delta row 2 of 2)");
}

}  // namespace
