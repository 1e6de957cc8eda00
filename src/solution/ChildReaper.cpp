// Reaping of terminated children without blocking. Signals of children that
// end at the same moment may arrive as one, so every child that has ended is
// reaped, not just one.
#include "solution/ChildReaper.h"

#include <sys/wait.h>
#include <cerrno>
#include <csignal>

namespace {

extern "C" void ChldHandler(int)
{
    int saved = errno;
    while (waitpid(-1, nullptr, WNOHANG) > 0) {
    }
    errno = saved;
}

}  // namespace

bool InstallChildReaper()
{
    return std::signal(SIGCHLD, ChldHandler) != SIG_ERR;
}
