// Remembers a SIGINT, SIGTERM or SIGHUP sent to mosk-solve, so the run can
// stop mosk and its workers and remove its directory before it exits.
#pragma once

// Installs the handlers (without restarting interrupted system calls) and
// ignores SIGPIPE.
void CatchInterrupts();

// The signal received, 0 while none has arrived.
int ReceivedInterrupt();
