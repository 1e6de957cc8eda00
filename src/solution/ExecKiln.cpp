// Running the deterministic workers: the settings of the per-user file, the
// listening socket, and the choice between running every worker on this host
// (at most "MAX PROCESSES PER HOST" at once) and spreading them over the
// hosts of the host list, which is worth it only for several chains with a
// large total effort.
#include "solution/ExecKiln.h"

#include "foundation/ChainModelName.h"
#include "foundation/Reporters.h"
#include "foundation/RunState.h"
#include "solution/MemberOrderFile.h"
#include "solution/PlenarFile.h"
#include "solution/Progress.h"
#include "solution/ServerSocket.h"
#include "solution/WorkerAccuracy.h"

#include <unistd.h>
#include <climits>
#include <fstream>
#include <iostream>

namespace {

constexpr int kOpenLine = 227;
constexpr int kNoHostsLine = 241;
constexpr int kHostNameLine = 262;
constexpr int kSocketLine = 296;
constexpr int kConnectLine = 1213;

int Running(const execinfo& e)
{
    int n = 0;
    for (int i = 0; i < e.count; ++i) n += e.records[i].status == kKilnRunning;
    return n;
}

void ShowSettings(const execinfo& e, double threshold)
{
    ShowHostInfo(e.hosts);
    std::cout << "\t\tlocal_hostname         : " << e.local_host_name << '\n'
              << "\t\tmax_processes_per_host : " << e.max_processes << '\n'
              << "\t\tstart_distribution_at  : " << threshold << std::endl;
}

// "starting all kiln processes <where>" and how many run at once.
void Announce(const execinfo& e, const char* where, const char* concurrent, const char* oneByOne)
{
    if (!DEBUG) return;
    std::cout << "\n\t\t starting all kiln processes " << where;
    if (e.max_processes >= 2)
        std::cout << "with " << e.max_processes << concurrent;
    else
        std::cout << oneByOne;
    std::cout << "\n\n" << std::endl;
}

}  // namespace

void ReadEnvironment(execinfo& e, double& threshold)
{
    const char* path = PLENARRC.GetCChar();
    std::ifstream file(path ? path : "");
    if (!file) ExRErr("ReadEnvironment()", "can't open file for reading", path, kOpenLine);
    PlenarSettings settings;
    ParsePlenarFile(file, settings);
    if (settings.hosts.empty())
        ExRErr("ReadEnvironment()", "no hostlist found in file", path, kNoHostsLine);
    e.hosts = std::move(settings.hosts);
    e.max_processes = settings.max_processes;
    e.remote_shell = settings.remote_shell;
    e.stop_on_worker_failure = settings.stop_on_worker_failure;
    threshold = settings.start_distribution_at;

    char name[HOST_NAME_MAX + 1] = "";
    if (gethostname(name, sizeof name) != 0)
        ExRErr("ReadEnvironment()", "gethostname()", nullptr, kHostNameLine);
    name[HOST_NAME_MAX] = '\0';
    e.local_host_name = name;
    e.local_host = nullptr;
    for (hostinfo& h : e.hosts)
        if (h.name == e.local_host_name) {
            e.local_host = &h;
            break;
        }
    if (!e.local_host) {
        e.unlisted_local_host = hostinfo{};
        e.unlisted_local_host.name = e.local_host_name;
        e.local_host = &e.unlisted_local_host;
    }
}

void EstablishServerSocket(execinfo& e)
{
    SocketStep failed = SocketStep::kCreate;
    e.server_socket = OpenListeningSocket(e.port, failed);
    if (e.server_socket >= 0) return;
    switch (failed) {
        case SocketStep::kCreate:
            ExRErr("EstablishServerSocket()", "can't create socket", nullptr, kSocketLine);
        case SocketStep::kBind:
            ExRErr("EstablishServerSocket()", "can't bind socket", nullptr, kSocketLine + 9);
        case SocketStep::kPort:
            ExRErr("EstablishServerSocket()", "getsockname()", nullptr, kSocketLine + 17);
        case SocketStep::kListen:
            ExRErr("EstablishServerSocket()", "listen()", nullptr, kSocketLine + 23);
    }
}

void LocalExecution(execinfo& e)
{
    unsigned finished = 0;
    for (int i = 0; i < e.count; ++i) {
        kilninfo& record = e.records[i];
        if (record.status == kKilnFinished) continue;
        record.host = e.local_host;
        Progress("\t\t starting kiln process ...");
        StartKilnProcess(record, e);
        Progress("\t\t starting kiln process finished !");
        if (WaitForConnection(e) != &record)
            ExRErr("LocalExecution()", "can't connect to kiln process", e.local_host_name.c_str(),
                   kConnectLine);
        Progress("\t\t sending data to kiln process ...");
        FeedKilnProcess(record, e);
        Progress("\t\t sending data to kiln process finished !");
        std::cout.flush();
        // A full host waits for one of its workers before the next starts.
        while (Running(e) >= static_cast<int>(e.max_processes)) {
            Progress("\t\t waiting for one messages ...");
            ReceiveMessages(kUntilOneFinished, e, finished);
            Progress("\t\t waiting for one messages finished !");
        }
    }
    Progress("\t\t waiting for all messages ...");
    ReceiveMessages(kUntilAllFinished, e, finished);
    Progress("\t\t waiting for all messages finished !");
}

void ExecuteKilnProcesses(kilninfo*& infos, int& count, double& total)
{
    execinfo e;
    e.epsilon = worker_epsilon(epsilon);
    e.net_name = ChainModelName();
    e.count = count;
    e.records = infos;
    e.max_processes = kDefaultMaxProcesses;
    e.messages.resize(static_cast<std::size_t>(count));
    e.starts.assign(static_cast<std::size_t>(count), 0);
    e.failures.resize(static_cast<std::size_t>(count));
    double threshold = kDefaultDistributionThreshold;

    Progress("\t\t reading environment ...");
    ReadEnvironment(e, threshold);
    if (DEBUG) std::cout << "\t\t reading environment finished !\n" << std::endl;
    if (SHOW_INFOS) ShowSettings(e, threshold);
    Progress("\t\t establishing socket ...");
    EstablishServerSocket(e);
    Progress("\t\t establishing socket finished !");

    e.parallel = execmode == 0 ? 1 : 0;
    if (count >= 2 && e.parallel && total >= threshold) {
        Announce(e, "parallel on different hosts ", " concurrent processes ! ", "! ");
        DistributedExecution(e);
    } else {
        Announce(e, "locally ", " concurrent processes !", "with sequiential execution !");
        LocalExecution(e);
    }
    for (int i = 0; i < count; ++i) RemoveMemberOrder(i + 1);
    close(e.server_socket);
}
