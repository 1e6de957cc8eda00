// The engine's side of the worker runs with stand-in workers: how many
// workers run at once, the numbering and command line of the general ones,
// and the reading of the workers' lines. (The real workers' command lines and
// member-order files, which they must accept, quiet runs, workers that never
// connect or break off, and the spreading over hosts through a remote shell
// and its fall-back, are end-to-end cases.)
#include "solution/ExecEkiln.h"
#include "solution/ExecKiln.h"

#include "FakeWorkers.h"
#include "HandGraph.h"
#include "WorkerFixture.h"
#include "foundation/RunState.h"
#include "netmodel/Registries.h"
#include "netmodel/Textual.h"

#include <sys/socket.h>

#include <fstream>
#include <sstream>

namespace {

class WorkerRunTest : public WorkerFixture {
protected:
    void SetUp() override
    {
        WorkerFixture::SetUp();
        Script("/bin/kiln_da", kFakeWorker);
        Script("/bin/ekiln", kFakeWorker);
        setenv("FAKE_WORKER_LOG", (dir_ + "/log").c_str(), 1);
        setenv("FAKE_WORKER_MEET", "0", 1);
    }

    std::string Log(const std::string& name) const
    {
        std::ifstream in(dir_ + "/log/" + name);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // `n` deterministic chains of one member each (states 2, 3, ...), all
    // firing into the exponential marking 1.
    void DetChains(int n)
    {
        Marking& out = graph_.Exp(1);
        out.SetType(kDelayExponential);
        for (int k = 0; k < n; ++k) {
            SMChain& chain = graph_.DetChain(k + 1);
            Marking& m = graph_.Member(chain, static_cast<unsigned>(k + 2), kStatusInitial);
            m.SetType(kDelayDeterministic);
            chain.SetFirstStateNumber(static_cast<unsigned>(k + 2));
            HandGraph::Edges(m, {{&out, 0.5, kDelayDeterministic, static_cast<short>(k + 1)}});
        }
        records_.assign(static_cast<std::size_t>(n) + 1, kilninfo{});
        int k = 0;
        for (PLElement<SMChain>* c = MLists.det_smcs.first; c; c = c->next)
            records_[static_cast<std::size_t>(k++)].SMCs = c->item;
    }

    // Runs the deterministic workers with fresh records.
    void RunKiln()
    {
        for (kilninfo& r : records_) {
            r.status = kKilnNotStarted;
            r.host = nullptr;
        }
        kilninfo* infos = records_.data();
        int count = static_cast<int>(records_.size()) - 1;
        double total = 0.0;
        ExecuteKilnProcesses(infos, count, total);
    }

    // The same, quietly, after a fresh log.
    void RunKilnQuietly()
    {
        std::filesystem::remove_all(dir_ + "/log");
        std::filesystem::create_directory(dir_ + "/log");
        testing::internal::CaptureStdout();
        RunKiln();
        testing::internal::GetCapturedStdout();
    }

    HandGraph graph_;
    std::vector<kilninfo> records_;
};

// One at a time: each worker finds none running (a worker counts as done
// once it has answered). Two at a time: both have their data at once.
TEST_F(WorkerRunTest, AtMostMaxProcessesWorkersRunAtOnce)
{
    DetChains(2);
    Plenar("MAX PROCESSES PER HOST 0\n");
    RunKilnQuietly();
    EXPECT_EQ(Log("kiln_da-1.others") + Log("kiln_da-2.others"), "00");

    setenv("FAKE_WORKER_MEET", "2", 1);
    Plenar("MAX PROCESSES PER HOST 2\n");
    RunKilnQuietly();
    for (const char* worker : {"kiln_da-1", "kiln_da-2"})
        EXPECT_TRUE(std::filesystem::exists(dir_ + "/log/" + worker + ".done")) << worker;
}

TEST_F(WorkerRunTest, ReceivingCountsCpuTimeAndEndsOrRestartsWorkers)
{
    DetChains(2);
    execinfo e;
    e.count = 2;
    e.records = records_.data();
    e.messages.resize(2);
    e.starts.assign(2, 1);
    hostinfo host;
    host.processes = 2;
    int worker[2][2];
    for (int i = 0; i < 2; ++i) {
        socketpair(AF_UNIX, SOCK_STREAM, 0, worker[i]);
        records_[i].conn_fd = worker[i][0];
        records_[i].conn_fp = fdopen(worker[i][0], "w");
        records_[i].status = kKilnRunning;
        records_[i].host = &host;
    }
    const std::string lines = "Elapsed CPU time 0:1:2.5\nnoise\nready.\n";
    write(worker[0][1], lines.data(), lines.size());
    close(worker[1][1]);  // the second one breaks off
    e.distributed = true;
    unsigned finished = 0;
    ReceiveMessages(kUntilAllFinished, e, finished);
    EXPECT_EQ(finished, 2u);
    EXPECT_DOUBLE_EQ(e.cpu_time, 62.5);
    EXPECT_EQ(records_[0].status, kKilnFinished);
    EXPECT_EQ(records_[1].status, kKilnNotStarted);  // to be started again
    EXPECT_EQ(host.processes, 0);
    close(worker[0][1]);
}

TEST_F(WorkerRunTest, GeneralWorkersRunSideBySideNumberedAfterTheDeterministicOnes)
{
    setenv("FAKE_WORKER_MEET", "2", 1);
    Marking& out1 = graph_.Exp(1);
    out1.SetType(kDelayExponential);
    for (int k = 0; k < 2; ++k) {
        TransitionNames.Append(new Textual(k == 0 ? "G1" : "G2"));
        SMChain& chain = graph_.GenChain(k + 1);
        Marking& m = graph_.Member(chain, static_cast<unsigned>(k + 2), kStatusInitial);
        m.SetType(kDelayGeneral);
        chain.SetFirstStateNumber(static_cast<unsigned>(k + 2));
        HandGraph::Edges(m, {{&out1, 0.5, kDelayGeneral, static_cast<short>(k + 1)}});
    }
    int genCount = 2;
    int detCount = 1;
    ru_sum = 0.0;
    ExecuteEkilnProcesses(genCount, detCount, MLists.gen_smcs);
    TransitionNames.HardClear();

    const std::string args = Log("ekiln-2.args");
    EXPECT_EQ(args.substr(0, ThisHost().size()), ThisHost());
    EXPECT_EQ(args.substr(args.find(" 1e-07 ")), " 1e-07 " + dir_ + "/tmp/net\n");
    EXPECT_NE(Log("ekiln-3.stream").find("G2"), std::string::npos);
    for (const char* worker : {"ekiln-2", "ekiln-3"})
        EXPECT_TRUE(std::filesystem::exists(dir_ + "/log/" + worker + ".done")) << worker;
    EXPECT_DOUBLE_EQ(ru_sum, 125.0);
}

}  // namespace
