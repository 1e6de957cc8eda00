// How a sweep is run. Settings that only change rates a re-evaluation pass
// can set (SUB/T delays, and definitions used only as such delays) become
// passes of one mosk run over one graph; every other setting needs its own
// generation, so each combination of their values is a run of its own with
// an edited description. Rows keep the order of the grid.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "frontend/DelaysFiles.h"
#include "frontend/RateOnlyUse.h"
#include "frontend/SweepSetting.h"

struct PlannedSetting {
    SweepSetting setting;
    bool inPasses = false;
    std::vector<DelayTarget> targets;  // set by a pass (inPasses)
    DefinitionEntry definition;        // edited per run (a definition not in passes)
};

struct PlannedRun {
    std::string description;                      // the text mosk analyses
    std::vector<std::vector<DelayEntry>> passes;  // the delays of each pass
    std::vector<std::size_t> rows;                // the sweep row of each pass
};

struct SweepPlan {
    std::vector<PlannedSetting> settings;
    std::size_t rows = 1;
    std::vector<PlannedRun> runs;
};

// Plans the runs for `description` (the description's text, `file` its name
// for messages). False with `error` set when a setting names nothing the
// description defines, or two settings set the same transition.
bool PlanSweep(const std::string& description, const std::string& file,
               const std::vector<SweepSetting>& settings, SweepPlan& plan, std::string& error);
