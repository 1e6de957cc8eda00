// Child process control: fork, exec in a new process group, read the pipe
// with a short poll so interrupts and the time limit are seen promptly, and
// stop the whole group before the child is reaped (so its group id cannot
// have been reused by then).
#include "frontend/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <initializer_list>

#include "frontend/InterruptFlag.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPollMilliseconds = 100;
constexpr double kGraceSeconds = 3.0;

std::vector<char*> CPointers(const std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (const std::string& text : texts) pointers.push_back(const_cast<char*>(text.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

[[noreturn]] void ExecInChild(const ChildCommand& command, int outputFd, char* const* arguments,
                              char* const* environment)
{
    setpgid(0, 0);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) std::signal(signal, SIG_DFL);
    dup2(outputFd, STDOUT_FILENO);
    dup2(outputFd, STDERR_FILENO);
    close(outputFd);
    if (chdir(command.directory.c_str()) == 0) execve(arguments[0], arguments, environment);
    const std::string message =
        "mosk-solve: cannot start " + command.arguments[0] + ": " + std::strerror(errno) + "\n";
    ssize_t ignored = write(STDERR_FILENO, message.data(), message.size());
    (void)ignored;
    _exit(127);
}

// Reads what the pipe holds now; false once it is closed for good.
bool Drain(int fd, const std::function<void(std::string_view)>& onOutput)
{
    char buffer[65536];
    for (;;) {
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count > 0) {
            onOutput(std::string_view(buffer, static_cast<std::size_t>(count)));
            continue;
        }
        if (count == 0) return false;
        return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    }
}

bool HasEnded(pid_t pid)
{
    siginfo_t info = {};
    return waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == pid;
}

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

ChildOutcome RunChild(const ChildCommand& command,
                      const std::function<void(std::string_view)>& onOutput)
{
    ChildOutcome outcome;
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        outcome.startError = std::string("cannot create a pipe: ") + std::strerror(errno);
        return outcome;
    }
    std::vector<char*> arguments = CPointers(command.arguments);
    std::vector<char*> environment = CPointers(command.environment);
    const pid_t pid = fork();
    if (pid < 0) {
        outcome.startError = std::string("cannot start mosk: ") + std::strerror(errno);
        close(pipeFds[0]);
        close(pipeFds[1]);
        return outcome;
    }
    if (pid == 0) {
        close(pipeFds[0]);
        ExecInChild(command, pipeFds[1], arguments.data(), environment.data());
    }
    setpgid(pid, pid);
    close(pipeFds[1]);
    const int fd = pipeFds[0];
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    outcome.started = true;

    const Clock::time_point start = Clock::now();
    Clock::time_point stopAt{};
    bool open = true;
    bool stopping = false;
    for (;;) {
        if (open) {
            pollfd watched = {fd, POLLIN, 0};
            if (poll(&watched, 1, kPollMilliseconds) > 0) open = Drain(fd, onOutput);
        } else {
            usleep(kPollMilliseconds * 1000);
        }
        if (HasEnded(pid)) break;
        if (!stopping &&
            (ReceivedInterrupt() != 0 ||
             (command.timeoutSeconds > 0.0 && SecondsSince(start) > command.timeoutSeconds))) {
            outcome.interrupt = ReceivedInterrupt();
            outcome.timedOut = outcome.interrupt == 0;
            kill(-pid, SIGTERM);
            stopping = true;
            stopAt = Clock::now();
        }
        if (stopping && SecondsSince(stopAt) > kGraceSeconds) kill(-pid, SIGKILL);
    }
    if (open) Drain(fd, onOutput);
    // Workers mosk left behind belong to its group: they go with it.
    kill(-pid, SIGKILL);
    close(fd);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return outcome;
}
