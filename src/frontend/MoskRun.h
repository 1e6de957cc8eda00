// One run of mosk in a run directory of its own: the description written
// there, the delays files of its passes, mosk started (again in the
// iterative mode when the direct solver gives up), the results of every pass
// collected, the directory removed. It prints nothing itself; what it has to
// say goes to its observer.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/DelaysFiles.h"
#include "frontend/RunDirectory.h"
#include "frontend/SolveOptions.h"
#include "frontend/SolveReport.h"

// What a run shares with the others of a session.
struct RunContext {
    const SolveOptions* options = nullptr;
    std::string mosk;                 // the executable
    std::vector<WorkerLink> workers;  // for a private installation
    std::string userPlenar;           // the text of $HOME/.Plenar when PLENARHOME is set
    std::string userPlenarHome;
    std::string temporaryParent;  // where run directories are made
    std::string hostName;
    std::vector<std::string> extraFlags;  // mosk switches a feature needs (e.g. listings)
    bool solverProgress = false;          // have the relaxation report its iterations
};

class RunObserver {
public:
    virtual ~RunObserver() = default;
    // A piece of mosk's output, as it arrives.
    virtual void Output(std::string_view) {}
    // A complete line of what mosk-solve has to say about the run.
    virtual void Note(const std::string&) {}
    // The command line, just before mosk starts.
    virtual void Starting(const std::vector<std::string>&) {}
};

enum class RunEnd { Done, Unstartable, Interrupted, TimedOut, Failed, NoResults };

struct RunOutcome {
    RunEnd end = RunEnd::Done;
    int status = 0;       // the exit status mosk-solve gives for it
    std::string summary;  // one line: what went wrong and what to try
    std::string output;   // mosk's output (its end when long), for failures
    bool outputTruncated = false;
    bool iterative = false;  // the mode of the last attempt
    double seconds = 0.0;    // wall-clock time of the mosk runs
    std::optional<long> tangibleMarkings;
    std::vector<PassReport> passes;
    std::string keptDirectory;  // with --keep
};

// The current environment with mosk's three variables (HOME, PLENARHOME,
// MODELDIR) set to those of a run directory.
std::vector<std::string> MoskEnvironment(const RunPaths& paths);

// The .Plenar of a run directory: `privateText` for a private installation,
// else the user's own, ended by a line end for the lines added after it.
std::string RunPlenarText(const RunContext& context, const std::string& privateText);

// Runs `description` (the text) under the net name `netBase` with the
// passes' delays. `collect` is called on success while the run directory
// still exists, with its model directory, for readers of mosk's other files.
RunOutcome RunMoskOnce(const RunContext& context, const std::string& description,
                       const std::string& netBase,
                       const std::vector<std::vector<DelayEntry>>& passes, RunObserver& observer,
                       const std::function<void(const std::string&)>& collect = nullptr);
