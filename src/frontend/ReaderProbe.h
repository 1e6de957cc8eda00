// Asks mosk's reader about cut descriptions (see ReadingStop): the cut text
// is followed by a character the reader always refuses, on a line of its
// own, so the report says whether reading got past the cut (it stops at that
// character) or stopped before. Nothing beyond reading is ever started.
#pragma once

#include <string_view>

#include "frontend/MoskRun.h"
#include "frontend/ReadingStop.h"
#include "frontend/RunDirectory.h"

class ReaderProbe {
public:
    explicit ReaderProbe(const RunContext& context) : context(context) {}

    // The questions, for FindReadingStop; valid while the probe lives. The
    // probe's run directory is made on the first question and removed with
    // the probe.
    PrefixReader Reader();

private:
    bool Reads(std::string_view prefix);

    const RunContext& context;
    RunDirectory directory;
    bool created = false;
    bool broken = false;
};
