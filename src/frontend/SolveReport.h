// Everything a run of mosk-solve found out, for the output formats.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frontend/ResultsFile.h"
#include "frontend/SolverReport.h"
#include "frontend/SweepSetting.h"

struct PassReport {
    PassResults results;
    PassSolution solution;
};

struct SolveReport {
    std::string description;  // the description file as given
    std::optional<long> tangibleMarkings;
    bool iterative = false;
    double seconds = 0.0;  // wall-clock time of the mosk runs
    std::vector<SweepSetting> settings;
    std::vector<PassReport> passes;
};

// A measure's name as the user wrote it: mosk writes it with a leading "\"
// (and the page path for measures of sub-pages, "\S\q" becomes "S\q").
std::string DisplayName(const std::string& measureName);
