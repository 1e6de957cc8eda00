// Everything a run of mosk-solve found out, for the output formats.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frontend/ResultsFile.h"
#include "frontend/SolverReport.h"
#include "frontend/SweepSetting.h"

// One row of the output: the measures of one pass of mosk, or why the
// sweep's value failed.
struct PassReport {
    PassResults results;
    PassSolution solution;
    std::optional<long> tangibleMarkings;  // of the run the pass belongs to
    double seconds = 0.0;                  // of that run
    bool iterative = false;
    std::string error;   // empty when the pass succeeded
    std::string report;  // mosk's error report for a failed value
};

struct SolveReport {
    std::string description;  // the description file as given
    std::optional<long> tangibleMarkings;
    bool iterative = false;
    double seconds = 0.0;  // wall-clock time of the whole session
    std::vector<SweepSetting> settings;
    std::vector<PassReport> passes;  // one per row of the sweep, in grid order
    int runs = 1;                    // mosk runs the rows took
};

// A measure's name as the user wrote it: mosk writes it with a leading "\"
// (and the page path for measures of sub-pages, "\S\q" becomes "S\q").
std::string DisplayName(const std::string& measureName);
