// Running the general workers: one table entry per worker with its chain,
// its connection and the lines it sent. Workers are started and fed one
// after the other and then run side by side; a worker has ended when it says
// "ready." or its connection closes.
#include "solution/ExecEkiln.h"

#include "foundation/ChainModelName.h"
#include "foundation/Reporters.h"
#include "foundation/RunState.h"
#include "solution/ChildProcess.h"
#include "solution/ChildReaper.h"
#include "solution/EkilnDataStream.h"
#include "solution/Progress.h"
#include "solution/ServerSocket.h"
#include "solution/WorkerAccuracy.h"
#include "solution/WorkerFailures.h"
#include "solution/WorkerLines.h"

#include <sys/select.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <iostream>
#include <new>
#include <string>
#include <vector>

double ru_sum = 0.0;

namespace {

constexpr std::size_t kLongestHostName = 29;
constexpr auto kConnectTime = std::chrono::seconds(20);

struct Connection {
    int index = -1;  // the chain's position among the general chains
    int socket = -1;
    std::FILE* stream = nullptr;
    std::string messages;
};

std::vector<Connection> table;
int server = -1;
std::uint16_t port = 0;

void EmptyLineAndProgress(const char* line)
{
    if (DEBUG) std::cout << '\n' << line << std::endl;
}

std::string HostName()
{
    char name[256] = "";
    if (gethostname(name, sizeof name) != 0)
        ExError(121, "ExecuteEkilnProcesses()", "can't get hostname");
    name[sizeof name - 1] = '\0';
    return std::string(name).substr(0, kLongestHostName);
}

void ShowEnd(const Connection& c)
{
    static const char* const kDashes =
        "\t\t\t "
        "------------------------------------------------------------------\n";
    std::cout << '\n'
              << kDashes
              << "\t\t\t -------------------- Ekiln process terminated ! "
                 "------------------\n"
              << kDashes << "\t\t\t Received messages from ekiln process:\n\n"
              << c.messages << kDashes
              << "\t\t\t ----------------- end of ekiln process information "
                 "---------------\n"
              << kDashes << std::endl;
}

void Keep(std::string& text, const std::string& line)
{
    try {
        text += line;
        text += '\n';
    } catch (const std::bad_alloc&) {
        ExError(567, "MsgReceive()", "unable to duplicate string");
    }
}

void Close(Connection& c)
{
    if (SHOW_COMM) ShowEnd(c);
    std::fclose(c.stream);
    c.stream = nullptr;
    c.socket = -1;
    c.messages.clear();
}

// The worker's account of its failure is among the lines it sent.
[[noreturn]] void EndWithFailure(Connection& c)
{
    std::string account;
    std::size_t from = 0;
    while (from < c.messages.size()) {
        const std::size_t end = c.messages.find('\n', from);
        const std::string line = c.messages.substr(from, end - from);
        if (IsWorkerErrorLine(line)) account = line;
        from = end == std::string::npos ? c.messages.size() : end + 1;
    }
    if (SHOW_COMM) ShowEnd(c);
    ExError(575, "MsgReceive()", "ekiln process ended without its results",
            WorkerFailureText(account).c_str());
}

bool AnyConnected()
{
    for (const Connection& c : table)
        if (c.socket >= 0) return true;
    return false;
}

void WaitForLines(fd_set& ready)
{
    for (;;) {
        int highest = -1;
        FD_ZERO(&ready);
        for (const Connection& c : table)
            if (c.socket >= 0) {
                FD_SET(c.socket, &ready);
                highest = std::max(highest, c.socket);
            }
        if (select(highest + 1, &ready, nullptr, nullptr, nullptr) >= 0) return;
        if (errno != EINTR) ExError(541, "MsgReceive()", "message select failed");
    }
}

void SendChain(std::FILE* stream, SMChain& chain, int index, int detCount)
{
    WorkerStream out(stream, Fwrite);
    Progress("\t\t\t sending infos ... ");
    SendMDET(out, chain, index, detCount);
    out.Flush();
    Progress("\t\t\t sending infos finished ! ");
    Progress("\t\t\t sending q-matrix ...");
    SendQ(out, chain);
    out.Flush();
    Progress("\t\t\t sending q-matrix finished !");
    Progress("\t\t\t sending delta-matrix ...");
    SendDELTA(out, chain);
    out.Flush();
    Progress("\t\t\t sending delta-matrix finished !");
}

}  // namespace

void InitConnection(int n)
{
    table.assign(static_cast<std::size_t>(n) + 1, Connection{});
    if (!InstallChildReaper())
        ExError(151, "InitConnection()", "unable to install catcher for SIGCHLD");
}

void CreateServer()
{
    SocketStep failed = SocketStep::kCreate;
    server = OpenListeningSocket(port, failed);
    if (server < 0) {
        switch (failed) {
            case SocketStep::kCreate:
                ExError(178, "CreateServer()", "unable to create server socket");
            case SocketStep::kBind:
                ExError(187, "CreateServer()", "unable to bind socket to address");
            case SocketStep::kPort:
                ExError(194, "CreateServer()", "unable to get server port number");
            case SocketStep::kListen:
                ExError(199, "CreateServer()", "unable to listen for potential clients");
        }
    }
    if (DEBUG) std::cout << "\t\t\t socket created: port_no = " << port << std::endl;
}

void StartKiln(const char* model, const char* host, int index, const char* path)
{
    char eps[64];
    std::snprintf(eps, sizeof eps, "%g", worker_epsilon(epsilon));
    RRGError failure("Pendra/src/ExecEkiln", 233, "StartKiln()", "execl() failed");
    pid_t pid = StartProgram(path, {"ekiln", host, std::to_string(port), eps, model}, failure,
                             kExitGeneralWorkers);
    if (pid < 0) ExError(226, "StartKiln()", "unable to fork ekiln process");
    Progress("\t\t\t successful fork() !");
    for (Connection& c : table)
        if (c.index < 0) {
            c = Connection{};
            c.index = index;
            return;
        }
}

std::FILE* WaitConnect(int)
{
    const Deadline deadline = std::chrono::steady_clock::now() + kConnectTime;
    int socket = -1;
    switch (AcceptBefore(server, deadline, socket)) {
        case AcceptResult::kAccepted:
            break;
        case AcceptResult::kTimedOut:
            return nullptr;
        case AcceptResult::kSelectFailed:
            ExError(272, "WaitConnect()", "Select() failed");
        case AcceptResult::kAcceptFailed:
            ExError(281, "WaitConnect()", "Accept() failed");
    }
    if (DEBUG) std::cout << "\t\t\t connection accepted (fd = " << socket << ")" << std::endl;
    for (std::size_t i = 0; i < table.size(); ++i) {
        Connection& c = table[i];
        if (c.index < 0 || c.socket >= 0) continue;
        if (DEBUG) std::cout << "\t\t\t running kiln (i = " << i << ")" << std::endl;
        c.socket = socket;
        c.stream = fdopen(socket, "w");
        if (!c.stream) ExError(297, "WaitConnect()", "unable to reopen file pointer");
        return c.stream;
    }
    close(socket);
    return nullptr;
}

void MsgReceive(int, int)
{
    while (AnyConnected()) {
        fd_set ready;
        WaitForLines(ready);
        for (Connection& c : table) {
            if (c.socket < 0 || !FD_ISSET(c.socket, &ready)) continue;
            std::string line;
            LineResult got = ReadWorkerLine(c.socket, line);
            if (got == LineResult::kFailed) ExError(552, "MsgReceive()", "read on socket failed");
            if (got == LineResult::kLine && !IsReadyLine(line)) {
                if (IsCpuTimeLine(line)) ru_sum += EkilnCpuSeconds(line);
                Keep(c.messages, line);
                continue;
            }
            if (got == LineResult::kClosed && StopOnWorkerFailure()) EndWithFailure(c);
            Close(c);
        }
    }
}

void FreeConnect()
{
    if (server >= 0) close(server);
    server = -1;
    for (Connection& c : table)
        if (c.stream) std::fclose(c.stream);
    table.clear();
}

void ExecuteEkilnProcesses(int& genCount, int& detCount, PtrList<SMChain>& chains)
{
    const std::string model =
        std::string(TmpD.GetCChar() ? TmpD.GetCChar() : "") + "/" + ChainModelName();
    const std::string path = std::string(BinD.GetCChar() ? BinD.GetCChar() : "") + "/ekiln";
    const std::string host = HostName();

    if (DEBUG)
        std::cout << "\n\t\t initializing connections for " << genCount << " transitions ..."
                  << std::endl;
    InitConnection(genCount);
    if (DEBUG)
        std::cout << "\t\t initializing connections for " << genCount << " transitions finished !"
                  << std::endl;
    EmptyLineAndProgress("\t\t establishing sockets ... ");
    CreateServer();
    Progress("\t\t establishing sockets finished ! ");

    int index = 0;
    for (PLElement<SMChain>* e = chains.first; e && index < genCount; e = e->next, ++index) {
        EmptyLineAndProgress("\t\t starting ekiln procs ...");
        StartKiln(model.c_str(), host.c_str(), index, path.c_str());
        std::FILE* stream = WaitConnect(genCount);
        if (!stream) ExError(451, "ExecuteEkilnProcesses()", "unable to establish connection");
        Progress("\t\t starting ekiln procs finished !");
        EmptyLineAndProgress("\t\t sending infos to ekiln proc ...");
        SendChain(stream, *e->item, index, detCount);
        Progress("\t\t sending infos to ekiln proc finished !");
    }

    EmptyLineAndProgress("\t\t waiting for messages ...");
    MsgReceive(2, genCount);
    Progress("\t\t waiting for messages finished !");
    EmptyLineAndProgress("\t\t freeing connections ...");
    FreeConnect();
    Progress("\t\t freeing connections finished !");
    std::cout.flush();
}
