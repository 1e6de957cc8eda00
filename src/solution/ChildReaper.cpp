// Reaping of terminated children without blocking. Signals of children that
// end at the same moment may arrive as one, so every child that has ended is
// reaped, not just one.
#include "solution/ChildReaper.h"

#include <sys/wait.h>
#include <cerrno>
#include <csignal>

#include "solution/RunningChildren.h"

namespace {

extern "C" void ChldHandler(int)
{
    int saved = errno;
    for (pid_t pid; (pid = waitpid(-1, nullptr, WNOHANG)) > 0;) NoteChildEnded(pid);
    errno = saved;
}

}  // namespace

bool InstallChildReaper()
{
    return std::signal(SIGCHLD, ChldHandler) != SIG_ERR;
}
