// kiln_da run as the engine runs it, on chains whose rows are known in
// closed form, and on the failures the engine must be able to see.
#include <cstdio>
#include <cstring>
#include <fstream>

#include "e2e/ClosedForms.h"
#include "e2e/WorkerFixture.h"

namespace {

class KilnTest : public WorkerFixture {
protected:
    WorkerResult Run(const std::string& stream, const char* epsilon = "1e-10")
    {
        return RunWorker(KILN_DA_PATH, {"localhost", "{port}", "net", "nodebug", dir, epsilon},
                         stream);
    }
};

void ExpectCpuLine(const WorkerResult& result)
{
    ASSERT_GE(result.lines.size(), 2u);
    const std::string& line = result.lines[result.lines.size() - 2];
    ASSERT_EQ(line.substr(0, 17), "Elapsed CPU time ");
    double h = -1.0, m = -1.0, s = -1.0;
    EXPECT_EQ(std::sscanf(line.c_str() + 17, "%lf:%lf:%lf", &h, &m, &s), 3) << line;
    EXPECT_GE(h + m + s, 0.0);
}

TEST_F(KilnTest, QueueChainRowsArePoissonProbabilities)
{
    const int capacity = 6;
    const double lambda = 1.5, tau = 0.8;
    const WorkerResult result = Run(KilnStreamOf(QueueChain(capacity, lambda, 2, tau)));
    ExpectSuccess(result);
    ExpectCpuLine(result);
    ChainRows emc, conv;
    QueueRows(capacity, 2, DeterministicArrivals(lambda, tau), emc, conv);
    ExpectRows(".EMC", 1, emc, 1e-9);
    ExpectRows(".CONV", 1, conv, 1e-9);
}

TEST_F(KilnTest, ManyArrivalsPerDelayWithDebugOutput)
{
    // lambda tau = 2000: the Poisson weights start far from 0.
    const int capacity = 5;
    const WorkerResult result =
        RunWorker(KILN_DA_PATH, {"localhost", "{port}", "net", "debug", dir, "1e-10"},
                  KilnStreamOf(QueueChain(capacity, 2000.0, 7, 1.0)));
    ExpectSuccess(result);
    EXPECT_NE(result.errors.find("kiln_da: class 1, 5 states from 7"), std::string::npos)
        << result.errors;
    EXPECT_NE(result.errors.find("kiln_da: kiln_da chain 01: 5 states, rate 2000"),
              std::string::npos)
        << result.errors;
    ChainRows emc, conv;
    QueueRows(capacity, 7, DeterministicArrivals(2000.0, 1.0), emc, conv);
    ExpectRows(".EMC", 1, emc, 1e-9);
    ExpectRows(".CONV", 1, conv, 1e-9);
}

TEST_F(KilnTest, PreemptingTargetsFollowTheMemberOrder)
{
    const TestChain chain = PreemptedChain(3, 0.8);
    WriteMemberOrderFile(ModelPath() + ".SMCORDER03", chain);
    const WorkerResult result = Run(KilnStreamOf(chain));
    ExpectSuccess(result);
    ChainRows emc, conv;
    PreemptedRows(DeterministicIntegrals(0.8), emc, conv);
    ExpectRows(".EMC", 3, emc, 1e-9);
    ExpectRows(".CONV", 3, conv, 1e-9);
}

TEST_F(KilnTest, PreemptionWithoutMemberOrderFails)
{
    const WorkerResult result = Run(KilnStreamOf(PreemptedChain(3, 0.8)));
    ExpectFailure(result, 3, "net.SMCORDER03");
}

TEST_F(KilnTest, DamagedStreamsFailVisibly)
{
    const std::string whole = KilnStreamOf(QueueChain(6, 1.5, 2, 0.8));
    ExpectFailure(Run(whole.substr(0, whole.size() / 2)), 1, "bad data stream (Q row");

    std::string absurd = whole;
    const std::int32_t count = 2000000000;
    std::memcpy(absurd.data() + 4, &count, sizeof count);
    ExpectFailure(Run(absurd), 1, "no_states is 2000000000, outside");

    ExpectFailure(Run(""), 1, "bad data stream (header)");
}

TEST_F(KilnTest, UnreachableEngineEndsTheWorker)
{
    const WorkerResult result = RunUnconnected(
        KILN_DA_PATH, {"localhost", std::to_string(UnusedPort()), "net", "nodebug", dir, "1e-10"});
    ExpectFailure(result, 1, "can't connect to localhost");
}

TEST_F(KilnTest, WrongCommandLinesAreRefused)
{
    WorkerResult result = RunUnconnected(KILN_DA_PATH, {"localhost", "1", "net"});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.errors.find("usage: kiln_da"), std::string::npos);
    result = RunUnconnected(KILN_DA_PATH, {"localhost", "1", "net", "maybe", dir, "1e-10"});
    EXPECT_EQ(result.status, 2);
    result = RunUnconnected(KILN_DA_PATH, {"localhost", "1", "net", "debug", dir, "2"});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.errors.find("epsilon '2'"), std::string::npos);
}

}  // namespace
