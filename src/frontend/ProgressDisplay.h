// The one progress line of mosk-solve on standard error: what the run is
// doing (or, for a sweep of several runs, how many are done and what one of
// the running ones is doing), redrawn in place a few times a second. On a
// pipe, when asked for, it prints a line whenever the text changes, at most
// once a second. Anything else written to standard error meanwhile goes
// through Write, so it does not mix with the line.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "frontend/RunProgress.h"

enum class ProgressMode { Off, Terminal, Lines };

class ProgressDisplay {
public:
    // `runs`: how many runs the session makes; `width`: how many at once.
    ProgressDisplay(ProgressMode mode, std::ostream& err, double epsilon, std::size_t runs,
                    std::size_t width);
    ~ProgressDisplay();
    ProgressDisplay(const ProgressDisplay&) = delete;
    ProgressDisplay& operator=(const ProgressDisplay&) = delete;

    // A run named `name` ("K=3") starts; returns its slot.
    std::size_t Begin(const std::string& name);
    void Feed(std::size_t slot, std::string_view piece);
    void End(std::size_t slot);

    // Writes `text` to standard error (the line is cleared first, and drawn
    // again after).
    void Write(const std::string& text);

    // Removes the line for good (before the results are printed).
    void Stop();

private:
    struct Slot {
        std::string name;
        RunProgress progress;
        bool running = true;
        std::chrono::steady_clock::time_point start;
    };

    std::string Text(bool withTime) const;
    void Draw();
    void Clear();
    void Tick();

    const ProgressMode mode;
    std::ostream& err;
    const double epsilon;
    const std::size_t runs;
    const std::size_t width;
    const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    std::vector<Slot> slots;
    std::size_t finished = 0;
    double finishedSeconds = 0.0;
    std::string shown;  // the text on the terminal now
    std::chrono::steady_clock::time_point lastLine{};
    bool stopped = false;
    mutable std::mutex lock;
    std::condition_variable wake;
    std::thread ticker;
};

// The mode for this session: `requested` is --progress (true), --no-progress
// (false) or neither; the line is shown on a terminal unless mosk's output
// is shown instead.
ProgressMode ChooseProgressMode(int requested, bool verbose, bool errorIsTerminal);

// The width of the terminal on standard error (80 when it cannot be told).
std::size_t TerminalColumns();
