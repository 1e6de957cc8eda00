// The state of one run of the deterministic workers: the run's parameters
// for the workers, the listening socket, the hosts, the planning records of
// the chains and what the workers have reported.
#pragma once

#include "solution/HostInfo.h"
#include "solution/KilnInfo.h"

#include <cstdint>
#include <string>
#include <vector>

// Planning record states.
enum KilnStatus : int {
    kKilnNotStarted = 0,
    kKilnStarted = 1,  // waiting for the worker's connection
    kKilnConnected = 2,
    kKilnRunning = 3,  // data sent
    kKilnFinished = 4,
};

struct execinfo {
    double epsilon = 0.0;
    int server_socket = -1;
    std::uint16_t port = 0;
    std::string net_name;
    HostList hosts;
    hostinfo* local_host = nullptr;
    int count = 0;  // planning records
    std::string local_host_name;
    kilninfo* records = nullptr;
    double cpu_time = 0.0;  // seconds reported by the workers
    int parallel = 0;       // -P given
    unsigned max_processes = 2;

    std::string remote_shell;
    hostinfo unlisted_local_host;  // the local host when the host list does not name it
    // Set while the workers are spread over the hosts: a worker that breaks
    // off is then started again instead of being taken as finished.
    bool distributed = false;
    std::vector<std::string> messages;  // per record: the lines kept from its worker
    std::vector<int> starts;            // per record: how often a worker was started
    std::vector<std::string> failures;  // per record: the worker's account of its failure
    bool stop_on_worker_failure = false;
};

// Class number of a record: its 1-based position.
inline int ClassOf(const execinfo& e, const kilninfo& record)
{
    return static_cast<int>(&record - e.records) + 1;
}
