// Load queries through the remote shell, each bounded in time: a host that
// hangs must not hold up the planning of the workers.
#include "solution/HostLoads.h"

#include "solution/ChildProcess.h"
#include "solution/RunningChildren.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <cstdio>

namespace {

constexpr auto kAnswerTime = std::chrono::seconds(5);
constexpr std::size_t kLongestAnswer = 256;

std::string ProgramName(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// What the child writes until it closes its output or the time is up.
std::string AnswerOf(int output)
{
    const auto deadline = std::chrono::steady_clock::now() + kAnswerTime;
    std::string answer;
    char buffer[kLongestAnswer];
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return "";
        pollfd p{output, POLLIN, 0};
        int n = poll(&p, 1, static_cast<int>(left.count()));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return "";
        ssize_t got = read(output, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return answer;
        if (answer.size() < kLongestAnswer) answer.append(buffer, static_cast<std::size_t>(got));
    }
}

}  // namespace

// The child-termination signal is held back during the query, so that the
// child stays ours (alive or a zombie) until it is killed and reaped here.
void QueryHostLoad(const std::string& shell, hostinfo& host)
{
    host.free = 0;
    int channel[2];
    if (pipe2(channel, O_CLOEXEC) != 0) return;
    sigset_t childSignal, previous;
    sigemptyset(&childSignal);
    sigaddset(&childSignal, SIGCHLD);
    sigprocmask(SIG_BLOCK, &childSignal, &previous);
    pid_t pid = StartQuietProgram(
        shell, {ProgramName(shell), host.name, "-n", "cat", "/proc/loadavg"}, channel[1]);
    close(channel[1]);
    std::string answer = pid > 0 ? AnswerOf(channel[0]) : "";
    close(channel[0]);
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        NoteChildEnded(pid);
    }
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    double load = 0.0;
    if (std::sscanf(answer.c_str(), "%lf", &load) == 1 && load >= 0.0) {
        host.load = static_cast<int>(load * 256.0);
        host.free = 1;
    }
}
