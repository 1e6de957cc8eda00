// The hosts that deterministic workers may run on: the host list of the
// per-user file with each host's priority, and what is learnt about a host
// while workers are planned (its load, whether it answers, how many workers
// it runs).
#pragma once

#include <cstdint>
#include <deque>
#include <string>

struct hostinfo {
    std::string name;             // as written in the host list
    std::uint16_t processes = 0;  // workers currently started on it
    int load = 0;                 // load average, fixed point x 256
    int priority = 1;             // from the last PRIORITY line before it
    int free = 0;                 // it answered the load query
    int usable = 0;               // free and not overloaded
};

// The list keeps every record at its address, so that planning records may
// point at them.
using HostList = std::deque<hostinfo>;

// The listing of the host list (switch -i).
void ShowHostInfo(const HostList& hosts);
