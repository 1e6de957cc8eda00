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
}

int ReceivedInterrupt()
{
    return received;
}
