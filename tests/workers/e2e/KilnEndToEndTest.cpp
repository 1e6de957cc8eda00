// kiln_da run as the engine runs it: the failures the engine must be able to
// see. (Its rows are checked against closed forms through whole runs of
// mosk, and against ekiln on the same chain.)
#include <cstring>

#include "e2e/WorkerFixture.h"
#include "harness/TestChains.h"

namespace {

class KilnTest : public WorkerFixture {
protected:
    WorkerResult Run(const std::string& stream, const char* epsilon = "1e-10")
    {
        return RunWorker(KILN_DA_PATH, {"localhost", "{port}", "net", "nodebug", dir, epsilon},
                         stream);
    }
};

TEST_F(KilnTest, PreemptionWithoutMemberOrderFails)
{
    const WorkerResult result = Run(KilnStreamOf(PreemptedChain(3, 0.8)));
    ExpectFailure(result, 3, "net.SMCORDER03");
}

// Every damage the stream reader refuses is a unit test; here the worker
// shows one to the engine, before allocating for an absurd count.
TEST_F(KilnTest, DamagedStreamFailsVisibly)
{
    std::string absurd = KilnStreamOf(QueueChain(6, 1.5, 2, 0.8));
    const std::int32_t count = 2000000000;
    std::memcpy(absurd.data() + 4, &count, sizeof count);
    ExpectFailure(Run(absurd), 1, "no_states is 2000000000, outside");
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
