// Process and socket plumbing of the harness.
#include "harness/WorkerRun.h"

#include "TempDir.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

constexpr int kAcceptSeconds = 30;
constexpr int kSilenceSeconds = 600;

int Listen(int& port)
{
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (s < 0 || bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(s, 5) != 0 || getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("can't listen on a local port");
    port = ntohs(address.sin_port);
    return s;
}

bool Ready(int fd, int seconds)
{
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, seconds * 1000) > 0;
}

std::string Slurp(const std::string& path)
{
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void SendAll(int fd, const std::string& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;  // the worker gave up; its lines tell why
        sent += static_cast<std::size_t>(n);
    }
}

std::vector<std::string> ReadLines(int fd)
{
    std::vector<std::string> lines;
    std::string pending;
    char chunk[4096];
    while (Ready(fd, kSilenceSeconds)) {
        const ssize_t n = recv(fd, chunk, sizeof chunk, 0);
        if (n <= 0) break;
        pending.append(chunk, static_cast<std::size_t>(n));
    }
    std::istringstream text(pending);
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
}

// A started worker with its output captured in files of a private directory.
class StartedWorker {
public:
    StartedWorker(const std::string& program, std::vector<std::string> arguments)
        : outPath(scratch.File("stdout")), errPath(scratch.File("stderr"))
    {
        std::fflush(nullptr);  // or the child would write the parent's buffered output again
        child = fork();
        if (child == 0) {
            std::freopen(outPath.c_str(), "w", stdout);
            std::freopen(errPath.c_str(), "w", stderr);
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (std::string& a : arguments) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
    }

    // Waits for the exit, at most `seconds` (then the worker is killed).
    void Finish(WorkerResult& result, int seconds)
    {
        int status = 0;
        for (int i = 0; i < 100 * seconds && waitpid(child, &status, WNOHANG) == 0; ++i)
            usleep(10000);
        if (waitpid(child, &status, WNOHANG) == 0) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
        }
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.output = Slurp(outPath);
        result.errors = Slurp(errPath);
    }

private:
    TempDir scratch;
    std::string outPath, errPath;
    pid_t child = -1;
};

}  // namespace

WorkerResult RunWorker(const std::string& program, std::vector<std::string> arguments,
                       const std::string& stream)
{
    int port = 0;
    const int server = Listen(port);
    for (std::string& a : arguments)
        if (a == "{port}") a = std::to_string(port);
    StartedWorker worker(program, arguments);
    WorkerResult result;
    if (Ready(server, kAcceptSeconds)) {
        const int connection = accept(server, nullptr, nullptr);
        if (connection >= 0) {
            result.connected = true;
            SendAll(connection, stream);
            shutdown(connection, SHUT_WR);  // all sent: a short stream ends here
            result.lines = ReadLines(connection);
            close(connection);
        }
    }
    close(server);
    worker.Finish(result, result.connected ? kSilenceSeconds : kAcceptSeconds);
    return result;
}

WorkerResult RunUnconnected(const std::string& program, std::vector<std::string> arguments)
{
    StartedWorker worker(program, std::move(arguments));
    WorkerResult result;
    worker.Finish(result, kAcceptSeconds);
    return result;
}

int UnusedPort()
{
    int port = 0;
    close(Listen(port));
    return port;
}

bool ReadChainFile(const std::string& path, ChainRows& rows)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    rows.clear();
    std::uint32_t header[2];
    while (std::fread(header, sizeof header, 1, file) == 1) {
        auto& row = rows[header[0]];
        if (!row.empty()) throw std::runtime_error(path + ": a second row for one state");
        for (std::uint32_t i = 0; i < header[1]; ++i) {
            double value = 0.0;
            std::uint32_t column = 0;
            if (std::fread(&value, sizeof value, 1, file) != 1 ||
                std::fread(&column, sizeof column, 1, file) != 1)
                throw std::runtime_error(path + ": a row ends early");
            if (!row.emplace(column, value).second)
                throw std::runtime_error(path + ": a column twice in one row");
        }
    }
    std::fclose(file);
    return true;
}

bool FileExists(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}
