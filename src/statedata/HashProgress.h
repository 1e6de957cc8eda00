// HashProgress: the progress display of a marking store on standard output.
// Mode 0 turns a spinner every 200 new markings, mode 2 prints the count
// every 200, mode 1 is silent.
#pragma once

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
        next_show = kStep;
    }
    // Starts the display again for an emptied store, in the same mode.
    void Restart() { Reset(mode); }
    // Called with the new element count after each insertion.
    void Counted(unsigned counter);

private:
    static constexpr unsigned kStep = 200;

    Mode mode = kShowSpinner;
    char spinner = '|';
    unsigned next_show = kStep;
};
