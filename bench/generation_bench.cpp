// Benchmark of the graph generation over the kanban net with 1 to N cards
// per station: each size runs in a child process of its own, so that its
// peak resident memory is its own, and reports markings, edges, generation
// time (processor and elapsed seconds), examination time, markings per
// second of processor time, peak memory and the bytes per stored marking
// (growth of the peak during generation over the markings stored).
//
//   generation_bench [N [FIRST]]     (sizes FIRST to N; default 1 to 5)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "GraphInspection.h"
#include "Kanban.h"
#include "TestNet.h"
#include "statespace/CreateRRG.h"
#include "statespace/ExamineRRG.h"
#include "statespace/data/StateSpaceGlobals.h"

namespace {

long PeakResidentKB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

unsigned long CountEdges()
{
    unsigned long edges = 0;
    for (const Marking* m : StoredMarkings())
        for (const stt* s = m->GetStt(); s; s = s->next) ++edges;
    return edges;
}

// Processor time of this process (user and system): on a shared machine
// it varies far less than the elapsed time.
double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void RunOne(int cards)
{
    TestNet net;
    BuildKanban(net, cards);
    long before = PeakResidentKB();
    auto start = std::chrono::steady_clock::now();
    double cpuStart = CpuSeconds();
    CreateRRG();
    double generation = CpuSeconds() - cpuStart;
    double elapsed = SecondsSince(start);
    long peak = PeakResidentKB();
    unsigned markings = MHash.GetCounter();
    unsigned long edges = CountEdges();
    cpuStart = CpuSeconds();
    ExamineRRG();
    double examination = CpuSeconds() - cpuStart;
    std::printf("%5d %10u %11lu %9.2f %9.2f %9.2f %12.0f %9.1f %9.0f\n", cards, markings, edges,
                generation, elapsed, examination, markings / generation, peak / 1024.0,
                (peak - before) * 1024.0 / markings);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[])
{
    int largest = argc > 1 ? std::atoi(argv[1]) : 5;
    int smallest = argc > 2 ? std::atoi(argv[2]) : 1;
    std::printf("%5s %10s %11s %9s %9s %9s %12s %9s %9s\n", "cards", "markings", "edges", "gen cpu",
                "gen wall", "exam cpu", "markings/s", "peak MB", "B/marking");
    for (int cards = smallest; cards <= largest; ++cards) {
        std::fflush(stdout);
        pid_t child = fork();
        if (child == 0) {
            RunOne(cards);
            std::_Exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::printf("%5d failed\n", cards);
            return 1;
        }
    }
    return 0;
}
