// Starting a deterministic worker and taking its connection. A worker only
// learns which chain it analyses from the data it receives, so a connection
// may serve any started record of the host it comes from.
#include "foundation/Reporters.h"
#include "foundation/RunState.h"
#include "solution/ChildProcess.h"
#include "solution/ExecKiln.h"
#include "solution/KilnDataStream.h"
#include "solution/MemberOrderFile.h"
#include "solution/ServerSocket.h"

#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <iostream>

namespace {

constexpr int kForkLine = 364;
constexpr int kExecLine = 381;
constexpr int kSelectLine = 421;
constexpr int kAcceptLine = 433;
constexpr int kFdopenLine = 462;
constexpr auto kConnectTime = std::chrono::seconds(20);
constexpr const char* kHistoricShell = "/usr/ucb/rsh";

std::string ShortName(const std::string& host)
{
    return host.substr(0, host.find('.'));
}

std::string Formatted(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::vector<std::string> WorkerArguments(const execinfo& e)
{
    return {e.local_host_name,
            std::to_string(e.port),
            e.net_name,
            SHOW_COMM ? "debug" : "nodebug",
            TmpD.GetCChar() ? TmpD.GetCChar() : "",
            Formatted("%g", e.epsilon)};
}

// The remote shell runs "nice" on the other host: the historic BSD shell with
// the BSD form of its argument, any other shell with the POSIX form.
std::vector<std::string> RemoteCommand(const execinfo& e, const hostinfo& host,
                                       const std::string& worker)
{
    std::string shell = e.remote_shell;
    std::vector<std::string> argv{shell.substr(shell.rfind('/') + 1), host.name, "-n", "nice"};
    if (shell == kHistoricShell)
        argv.push_back("+4");
    else
        argv.insert(argv.end(), {"-n", "4"});
    argv.push_back(worker);
    for (std::string& a : WorkerArguments(e)) argv.push_back(a);
    return argv;
}

bool ServesRecord(const kilninfo& record, const execinfo& e, const std::string& peer, bool local)
{
    return record.status == kKilnStarted && record.host &&
           (ShortName(record.host->name) == peer || (local && record.host == e.local_host));
}

}  // namespace

void StartKilnProcess(kilninfo& record, execinfo& e)
{
    WriteMemberOrder(*record.SMCs, ClassOf(e, record));
    const std::string worker = std::string(BinD.GetCChar() ? BinD.GetCChar() : "") + "/kiln_da";
    RRGError failure("Pendra/src/ExecKiln", kExecLine, "StartKilnProcess()",
                     "can't execute rsh process");
    pid_t pid;
    if (record.host == e.local_host) {
        std::vector<std::string> argv{"kiln_da"};
        for (std::string& a : WorkerArguments(e)) argv.push_back(a);
        pid = StartProgram(worker, argv, failure, kExitDeterministicWorkers);
    } else {
        pid = StartProgram(e.remote_shell, RemoteCommand(e, *record.host, worker), failure,
                           kExitDeterministicWorkers);
    }
    if (pid < 0) ExRErr("StartKilnProcess()", "(v)fork", nullptr, kForkLine);
    ++record.host->processes;
    ++e.starts[static_cast<std::size_t>(ClassOf(e, record) - 1)];
    record.status = kKilnStarted;
    if (DEBUG)
        std::cout << "\t\t\t starting transient analysis on station " << record.host->name
                  << " with port-nr. " << e.port << std::endl;
}

void FeedKilnProcess(kilninfo& record, execinfo& e)
{
    int class_id = ClassOf(e, record);
    SendDataToKiln(record.conn_fp, record.SMCs, class_id);
    record.tau = record.SMCs->GetDetOrGenDelay();
    record.status = kKilnRunning;
}

// Connections that serve no started record are turned away; the wait for a
// worker still ends 20 seconds after it began.
kilninfo* WaitForConnection(execinfo& e)
{
    const Deadline deadline = std::chrono::steady_clock::now() + kConnectTime;
    for (;;) {
        int connection = -1;
        switch (AcceptBefore(e.server_socket, deadline, connection)) {
            case AcceptResult::kAccepted:
                break;
            case AcceptResult::kTimedOut:
                return nullptr;
            case AcceptResult::kSelectFailed:
                ExRErr("WaitForConnection()", "select", nullptr, kSelectLine);
            case AcceptResult::kAcceptFailed:
                ExRErr("WaitForConnection()", "accept", nullptr, kAcceptLine);
        }
        std::string peer;
        bool local = false;
        DescribePeer(connection, peer, local);
        for (int i = 0; i < e.count; ++i) {
            kilninfo& record = e.records[i];
            if (!ServesRecord(record, e, peer, local)) continue;
            record.conn_fd = connection;
            record.conn_fp = fdopen(connection, "w");
            if (!record.conn_fp) ExRErr("WaitForConnection()", "fdopen", nullptr, kFdopenLine);
            record.status = kKilnConnected;
            return &record;
        }
        std::cout << "unknown process on station " << peer << " has tried to connect.\n"
                  << std::flush;
        close(connection);
    }
}
