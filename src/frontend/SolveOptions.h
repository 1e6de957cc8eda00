// The command line of mosk-solve.
#pragma once

#include <string>
#include <vector>

#include "frontend/PictureRenderer.h"
#include "frontend/SweepSetting.h"

enum class OutputFormat { Table, Csv, Json };

struct SolveOptions {
    std::string description;  // the .table file
    std::string epsilon = "1e-9";
    std::string maxIterations = "100000";
    bool iterative = false;  // mosk -I
    bool parallel = false;   // mosk -P
    std::vector<SweepSetting> settings;
    OutputFormat format = OutputFormat::Table;
    bool keep = false;
    bool verbose = false;
    std::string moskPath;                // --mosk, else $MOSK
    std::vector<std::string> moskFlags;  // diagnostic switches for mosk, e.g. "-r"
    double timeoutSeconds = 0.0;
    std::string dropTolerance;            // DROPTOLERANCE of the private .Plenar
    std::string method = "sor:auto";  // --method: the iteration of the private .Plenar
    std::size_t parallelRuns = 0;         // --jobs: runs of a sweep at once (0: one per core)
    int progress = -1;                    // --progress 1, --no-progress 0, else -1 (on a terminal)
    std::string plotPath;                 // --plot: the sweep's picture
    PictureFormat plotFormat = PictureFormat::Svg;
    std::vector<std::string> plotMeasures;  // --plot-measures (empty: all)
    std::string graphPath;                  // --graph: the reachability graph's picture
    PictureFormat graphFormat = PictureFormat::Svg;
    std::string maxMarkings;         // --max-markings: MAX MARKINGS for mosk
    std::string maxMemory;           // --max-memory: MAX GRAPH MEMORY (megabytes)
    bool acceptCappedCounts = false;  // --accept-capped-counts
    bool strict = false;              // --strict: stop at a place proven unbounded
};

// The solver's lines of the private .Plenar, each ended by a line end: the
// iteration, the stop test on the estimated relative error and the direct
// solver's work budget.
std::string SolverSettingLines(const SolveOptions& options);

enum class ParseOutcome { Run, Help, Version, Error };

// Reads argv[1..]; on Error `error` says what is wrong.
ParseOutcome ParseSolveOptions(int argc, const char* const* argv, SolveOptions& options,
                               std::string& error);

// The text of --help.
std::string HelpText();
