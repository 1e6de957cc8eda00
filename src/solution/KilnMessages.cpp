// The lines of the running deterministic workers. A worker has finished when
// it says "ready." or when its connection closes: a worker that breaks off
// must not hold up the run. While workers are spread over hosts, one that
// broke off is started again, up to three times in all.
#include "foundation/Reporters.h"
#include "foundation/RunState.h"
#include "solution/ExecKiln.h"
#include "solution/WorkerFailures.h"
#include "solution/WorkerLines.h"

#include <sys/select.h>
#include <cerrno>
#include <iostream>
#include <new>

namespace {

constexpr int kSelectLine = 1329;
constexpr int kReadLine = 1348;
constexpr int kFailedLine = 1371;
constexpr int kMostStarts = 3;

// Waits for lines from the running workers; the ready set is left in `ready`.
void WaitForLines(const execinfo& e, fd_set& ready)
{
    for (;;) {
        int highest = -1;
        FD_ZERO(&ready);
        for (int i = 0; i < e.count; ++i)
            if (e.records[i].status == kKilnRunning) {
                FD_SET(e.records[i].conn_fd, &ready);
                highest = std::max(highest, e.records[i].conn_fd);
            }
        if (select(highest + 1, &ready, nullptr, nullptr, nullptr) >= 0) return;
        if (errno != EINTR) ExRErr("ReceiveMessages()", "select", nullptr, kSelectLine);
    }
}

void Keep(std::string& text, const std::string& line)
{
    try {
        text += line;
        text += '\n';
    } catch (const std::bad_alloc&) {
        WorkerAllocationError("out of memory");
    }
}

void EndWorker(kilninfo& record, execinfo& e, bool brokeOff)
{
    std::string& text = e.messages[static_cast<std::size_t>(ClassOf(e, record) - 1)];
    const bool again = brokeOff && e.distributed &&
                       e.starts[static_cast<std::size_t>(ClassOf(e, record) - 1)] < kMostStarts;
    if (DEBUG) {
        if (again)
            std::cout << "\t\t\t transient analysis of isomorphism class failed!\n"
                      << "\t\t\t trying again ...\n";
        else
            std::cout << "\t\t\t transient analysis of isomorphism class terminated!\n" << text;
        std::cout.flush();
    }
    std::fclose(record.conn_fp);
    record.conn_fp = nullptr;
    record.conn_fd = 0;
    --record.host->processes;
    record.host = nullptr;
    record.status = again ? kKilnNotStarted : kKilnFinished;
    text.clear();
    const std::size_t index = static_cast<std::size_t>(ClassOf(e, record) - 1);
    if (brokeOff && !again && e.stop_on_worker_failure)
        ExRErr("ReceiveMessages()", "kiln process ended without its results",
               WorkerFailureText(e.failures[index]).c_str(), kFailedLine);
}

}  // namespace

void ReceiveMessages(ReceiveMode mode, execinfo& e, unsigned& finished)
{
    for (;;) {
        bool running = false;
        for (int i = 0; i < e.count; ++i) running = running || e.records[i].status == kKilnRunning;
        if (!running) return;
        fd_set ready;
        WaitForLines(e, ready);
        for (int i = 0; i < e.count; ++i) {
            kilninfo& record = e.records[i];
            if (record.status != kKilnRunning || !FD_ISSET(record.conn_fd, &ready)) continue;
            std::string line;
            LineResult got = ReadWorkerLine(record.conn_fd, line);
            if (got == LineResult::kFailed)
                ExRErr("ReceiveMessages()", "read on socket after select", nullptr, kReadLine);
            if (got == LineResult::kLine && !IsReadyLine(line)) {
                if (IsWorkerErrorLine(line)) e.failures[static_cast<std::size_t>(i)] = line;
                if (IsCpuTimeLine(line)) {
                    e.cpu_time += KilnCpuSeconds(line);
                    Keep(e.messages[static_cast<std::size_t>(i)], line);
                }
                continue;
            }
            EndWorker(record, e, got == LineResult::kClosed);
            ++finished;
            if (mode == kUntilOneFinished) return;
        }
    }
}
