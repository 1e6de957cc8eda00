// fork and exec. Pending output is flushed before the fork so that a child
// that reports a failure does not repeat it, and a failing child leaves with
// _exit so that it runs none of the parent's clean-up. SIGCHLD waits until
// the child is noted as running, so that it cannot be reaped before.
#include "solution/ChildProcess.h"

#include <fcntl.h>
#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <iostream>

#include "solution/RunningChildren.h"

namespace {

constexpr int kNotExecutable = 127;

template <class Prepare, class Fail>
pid_t Spawn(const std::string& path, const std::vector<std::string>& argv, Prepare prepare,
            Fail fail)
{
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::cout.flush();
    std::fflush(nullptr);
    sigset_t child, before;
    sigemptyset(&child);
    sigaddset(&child, SIGCHLD);
    sigprocmask(SIG_BLOCK, &child, &before);
    pid_t pid = fork();
    if (pid != 0) {
        if (pid > 0) NoteChildStarted(pid);
        sigprocmask(SIG_SETMASK, &before, nullptr);
        return pid;
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    prepare();
    execv(path.c_str(), args.data());
    fail();
    std::fflush(nullptr);
    _exit(kNotExecutable);
}

}  // namespace

pid_t StartProgram(const std::string& path, const std::vector<std::string>& argv,
                   const RRGError& failure, int status)
{
    return Spawn(
        path, argv, [] {},
        [&] {
            failure.PrintError();
            std::fflush(stdout);
            _exit(status);
        });
}

pid_t StartQuietProgram(const std::string& path, const std::vector<std::string>& argv, int output)
{
    return Spawn(
        path, argv,
        [output] {
            int null = open("/dev/null", O_RDWR);
            dup2(null, STDIN_FILENO);
            dup2(null, STDERR_FILENO);
            dup2(output, STDOUT_FILENO);
        },
        [] {});
}
