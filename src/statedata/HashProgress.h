// HashProgress: the progress display of a marking store on standard output.
// Mode 0 turns a spinner, mode 2 prints the count, both every 200 new
// markings until the steps grow (foundation/CreationProgressSteps.h); mode 1
// is silent.
#pragma once

#include "foundation/CreationProgressSteps.h"

enum Mode : int {
    kShowSpinner = 0,
    kShowNothing = 1,
    kShowCount = 2,
};

class HashProgress {
public:
    void Reset(Mode m)
    {
        mode = m;
        spinner = '|';
        next_show = creation_progress::kFirstShow;
    }
    // Starts the display again for an emptied store, in the same mode.
    void Restart() { Reset(mode); }
    // Called with the new element count after each insertion.
    void Counted(unsigned counter);

private:
    Mode mode = kShowSpinner;
    char spinner = '|';
    unsigned next_show = creation_progress::kFirstShow;
};
