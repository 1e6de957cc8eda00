// The planning record of one deterministic subordinated chain: what its
// transient analysis will cost, so that the workers can be spread over the
// hosts, and the connection of the worker that analyses it.
#pragma once

#include "statedata/SMChain.h"

#include <cstdint>
#include <cstdio>

struct hostinfo;

struct kilninfo {
    double tau = 1.0;              // the deterministic delay, set when the worker is fed
    double max_qii = 0.0;          // largest total exponential exit rate of a member
    double effort = 0.0;           // estimated work of the transient analysis
    std::uint32_t kb_p_sec = 0;    // step figure from eta and max_qii, at most 150
    std::uint32_t eta = 0;         // exponential and preempting edges walked in the chain
    SMChain* SMCs = nullptr;       // the chain; not owned
    hostinfo* host = nullptr;      // the host chosen for the worker
    int conn_fd = 0;               // the worker's socket
    std::FILE* conn_fp = nullptr;  // a stream on that socket
    int status = 0;                // worker state, 0 = not started
};

// Fills one record per deterministic chain of MLists, in list order, and
// adds every record's effort to `total`. `infos` must hold a record for each.
void ObtainKilnInfos(kilninfo*& infos, double& total);

// Adds the exponential and preempting edges of m, and of the members that
// the exponential edges lead to inside the chain, to `eta`, and raises `max`
// to the largest total exit rate met.
void GetInfosAboutSMC(Marking*& m, int& eta, double& max);

// The listing of `count` records (switch -i).
void ShowKilnInfo(const kilninfo* infos, int count);
