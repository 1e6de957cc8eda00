// The handlers only record the signal; the run loop polls it.
#include "frontend/InterruptFlag.h"

#include <csignal>
#include <initializer_list>

namespace {

volatile std::sig_atomic_t received = 0;

void Record(int signal)
{
    received = signal;
}

}  // namespace

void CatchInterrupts()
{
    struct sigaction action = {};
    action.sa_handler = Record;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
    // A reader that goes away (mosk-solve ... | head) must not end the run
    // before its directory is removed: the write fails instead.
    std::signal(SIGPIPE, SIG_IGN);
}

int ReceivedInterrupt()
{
    return received;
}
