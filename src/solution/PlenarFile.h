// The settings of the per-user file that concern the deterministic workers:
// the host list between HOSTLISTSTART and HOSTLISTEND (with PRIORITY lines
// that apply to the hosts after them), the number of workers a host may run
// at once, the total effort from which workers are spread over the hosts,
// and the remote shell that starts workers and load queries on other hosts
// ("REMOTE SHELL <path>"; other lines, such as DROPTOLERANCE, belong to
// other readers).
#pragma once

#include "solution/HostInfo.h"

#include <istream>
#include <string>

struct PlenarSettings {
    HostList hosts;
    unsigned max_processes = 2;
    double start_distribution_at = 200.0;
    std::string remote_shell = "/usr/ucb/rsh";
    // "WORKER FAILURES STOP": a worker that ends without its results ends
    // the run (WorkerFailures.h) instead of leaving its rows missing.
    bool stop_on_worker_failure = false;
};

constexpr unsigned kDefaultMaxProcesses = 2;
constexpr double kDefaultDistributionThreshold = 200.0;

// Reads the lines of the file into `settings`, which start with the defaults.
void ParsePlenarFile(std::istream& file, PlenarSettings& settings);
