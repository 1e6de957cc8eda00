// Spreading the deterministic workers over the hosts of the host list. Only
// hosts that answer the load query and are not overloaded take workers, the
// preferred ones first; each pass over them starts at most five workers and,
// after the first, only while their step figures stay small, so that the
// network is not flooded with large transient analyses at once. Without two
// such hosts the workers run on this host. A host whose worker never
// connects (its remote shell refused, say) takes no more workers; when none
// is left, the rest run on this host.
#include "foundation/Reporters.h"
#include "solution/ExecKiln.h"
#include "solution/HostLoads.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <vector>

namespace {

constexpr int kOverloaded = 768;  // load 3.0 in fixed point
constexpr int kStartsPerPass = 5;
constexpr unsigned kStepFigureLimit = 151;
constexpr int kMostStarts = 3;
constexpr int kSortLine = 1552;
constexpr int kConnectLine = 1618;

std::vector<hostinfo*> FreeHosts(execinfo& e)
{
    std::vector<hostinfo*> free;
    for (hostinfo& h : e.hosts) {
        QueryHostLoad(e.remote_shell, h);
        if (h.free) free.push_back(&h);
    }
    std::cout << "\t\tfree hosts found:\n       ";
    for (const hostinfo* h : free) std::printf("\t\t%s ", h->name.c_str());
    std::fflush(stdout);
    return free;
}

std::vector<hostinfo*> UsableHosts(const std::vector<hostinfo*>& free)
{
    std::vector<hostinfo*> usable;
    std::printf("loads: ");
    for (hostinfo* h : free) {
        std::printf("%-*.2f ", static_cast<int>(h->name.size()), h->load / 256.0);
        h->usable = h->load <= kOverloaded;
        if (h->usable) usable.push_back(h);
    }
    std::printf("\n");
    std::fflush(stdout);
    return usable;
}

// Higher priority first, then lower load.
void SortHostsByLoad(std::vector<hostinfo*>& hosts)
{
    for (const hostinfo* h : hosts)
        if (!h->free || !h->usable)
            ExRErr("SortHostsByLoad()", "free_hosts incorrect", h->name.c_str(), kSortLine);
    std::stable_sort(hosts.begin(), hosts.end(), [](const hostinfo* a, const hostinfo* b) {
        return a->priority != b->priority ? a->priority > b->priority : a->load < b->load;
    });
}

kilninfo* NextToStart(execinfo& e)
{
    for (int i = 0; i < e.count; ++i)
        if (e.records[i].status == kKilnNotStarted) return &e.records[i];
    return nullptr;
}

int StartPass(execinfo& e, const std::vector<hostinfo*>& hosts)
{
    int starts = 0;
    unsigned steps = 0;
    for (hostinfo* host : hosts) {
        if (starts == kStartsPerPass) break;
        if (!host->usable || host->processes >= e.max_processes) continue;
        kilninfo* record = NextToStart(e);
        if (!record) break;
        if (starts > 0 && steps + record->kb_p_sec >= kStepFigureLimit) break;
        record->host = host;
        StartKilnProcess(*record, e);
        ++starts;
        steps += record->kb_p_sec;
    }
    return starts;
}

// Takes the connections of the workers just started; the records of those
// that do not connect are given up for now.
void ConnectStarted(execinfo& e, int started)
{
    for (int k = 0; k < started; ++k)
        if (!WaitForConnection(e)) break;
    for (int i = 0; i < e.count; ++i) {
        kilninfo& record = e.records[i];
        if (record.status != kKilnStarted) continue;
        std::fprintf(stderr, "can't connect to kiln ");
        std::fprintf(stderr, "process on station '%s' !\n", record.host->name.c_str());
        if (e.starts[static_cast<std::size_t>(i)] >= kMostStarts)
            ExRErr("WaitForConnection()", "can't connect to kiln process",
                   record.host->name.c_str(), kConnectLine);
        if (record.host->usable)
            std::fprintf(stderr, "station '%s' takes no more kiln processes\n",
                         record.host->name.c_str());
        record.host->usable = 0;
        --record.host->processes;
        record.host = nullptr;
        record.status = kKilnNotStarted;
    }
}

void SendToConnected(execinfo& e)
{
    for (int i = 0; i < e.count; ++i)
        if (e.records[i].status == kKilnConnected) FeedKilnProcess(e.records[i], e);
}

bool AllFinished(const execinfo& e)
{
    for (int i = 0; i < e.count; ++i)
        if (e.records[i].status != kKilnFinished) return false;
    return true;
}

}  // namespace

void DistributedExecution(execinfo& e)
{
    std::vector<hostinfo*> hosts = FreeHosts(e);
    if (hosts.size() < 2) {
        std::cout << "\n\t\tless than 2 free hosts found, switching to local "
                     "execution...\n"
                  << std::flush;
        LocalExecution(e);
        return;
    }
    hosts = UsableHosts(hosts);
    if (hosts.size() < 2) {
        std::cout << "\t\tless than 2 usable hosts found, switching to local "
                     "execution...\n"
                  << std::flush;
        LocalExecution(e);
        return;
    }
    SortHostsByLoad(hosts);
    e.distributed = true;
    unsigned finished = 0;
    while (!AllFinished(e)) {
        if (std::none_of(hosts.begin(), hosts.end(), [](const hostinfo* h) { return h->usable; })) {
            std::cout << "\t\tno usable host left, switching to local execution...\n" << std::flush;
            e.distributed = false;
            LocalExecution(e);
            return;
        }
        ConnectStarted(e, StartPass(e, hosts));
        SendToConnected(e);
        ReceiveMessages(kUntilOneFinished, e, finished);
    }
    e.distributed = false;
}
