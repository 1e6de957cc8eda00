// Waiting for and consuming the delays files. A missing file is polled every
// 0.1 s without limit, with a progress line about once a minute; a file that
// is still being written (no end word yet) is read again at once.
#include "run/ReadDelays.h"

#include "foundation/RunState.h"
#include "run/DelayTables.h"
#include "run/PathNames.h"
#include "run/Printable.h"
#include "run/SetRates.h"
#include "run/ShellCommand.h"

#include <ctime>
#include <iostream>

namespace {

const long kAttemptsPerProgressLine = 600;

void Pause()
{
    timespec tenth = {0, 100000000};
    nanosleep(&tenth, nullptr);
}

DelaysFileWords WaitForCompleteFile(const Str& path)
{
    DelaysFileWords words("");
    long attempts = 0;
    for (;;) {
        if (DelaysFileWords::Read(path, words)) {
            if (words.IsComplete()) return words;
            continue;
        }
        if (++attempts % kAttemptsPerProgressLine == 0)
            std::cout << "Slave " << Printable(subname) << ": waiting for " << path.GetCChar()
                      << ", " << attempts / 10 << " sec. " << std::endl;
        Pause();
    }
}

}  // namespace

bool ReadDelays(bool first)
{
    Str path = DelaysFileName(callno);
    DelaysFileWords words = WaitForCompleteFile(path);
    bool passFollows = first ? LoadDelayTables(words, FindExclusiveTransitionNumber)
                             : UpdateDelayTables(words);
    // A first file that names unknown transitions stays for inspection.
    if (first && !passFollows) return false;
    RunShellCommand(Str("'rm' -f -- ") + ShellQuote(path));
    return passFollows;
}
