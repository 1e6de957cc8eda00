// A fixed table of process ids, lock-free so that the handlers of SIGCHLD
// and of the stopping signals can use it. A child is entered while SIGCHLD is
// blocked (see ChildProcess.cpp), so it cannot be reaped before it is known.
#include "solution/RunningChildren.h"

#include <signal.h>

#include <atomic>

namespace {

constexpr int kMostChildren = 1024;
std::atomic<pid_t> running[kMostChildren];

static_assert(std::atomic<pid_t>::is_always_lock_free);

}  // namespace

void NoteChildStarted(pid_t pid)
{
    for (std::atomic<pid_t>& slot : running) {
        pid_t empty = 0;
        if (slot.compare_exchange_strong(empty, pid)) return;
    }
}

void NoteChildEnded(pid_t pid)
{
    for (std::atomic<pid_t>& slot : running) {
        pid_t known = pid;
        if (slot.compare_exchange_strong(known, 0)) return;
    }
}

void StopRunningChildren()
{
    for (std::atomic<pid_t>& slot : running)
        if (const pid_t pid = slot.load(); pid > 0) kill(pid, SIGTERM);
}
