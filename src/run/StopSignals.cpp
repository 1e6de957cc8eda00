// The handler uses only async-signal-safe calls: the children's table,
// write, and the signal's default action raised again.
#include "run/StopSignals.h"

#include <signal.h>
#include <unistd.h>

#include <cstddef>
#include <initializer_list>

#include "solution/RunningChildren.h"

namespace {

extern "C" void Stop(int signal)
{
    StopRunningChildren();
    char text[64];
    int length = 0;
    auto append = [&](const char* words) {
        while (*words) text[length++] = *words++;
    };
    append("\n\n\t stopped by signal ");
    char digits[8];
    int n = 0;
    for (int s = signal; n == 0 || s > 0; s /= 10) digits[n++] = static_cast<char>('0' + s % 10);
    while (n > 0) text[length++] = digits[--n];
    append(" => abort !\n\n");
    ssize_t ignored = write(STDOUT_FILENO, text, static_cast<std::size_t>(length));
    (void)ignored;
    ::signal(signal, SIG_DFL);
    raise(signal);
}

}  // namespace

void InstallStopSignals()
{
    struct sigaction action {};
    action.sa_handler = Stop;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) sigaction(signal, &action, nullptr);
    ::signal(SIGXFSZ, SIG_IGN);
}
