// Scaling of kiln_da over the number of states: runs the worker through the
// harness on a queue chain (one arrival move per state) and on a banded
// chain (six moves per state to neighbours within three, plus a leaving
// move), and prints wall time, the worker's own summary and the file sizes.
//   workers_bench [states] [rate x delay]
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "TempDir.h"
#include "harness/EngineSide.h"
#include "harness/WorkerRun.h"

namespace {

TestChain BandedChain(int states, double rate)
{
    TestChain chain;
    const std::uint32_t first = 2;
    for (int i = 0; i < states; ++i) {
        TestState s;
        s.state = first + i;
        for (int d = -3; d <= 3; ++d)
            if (d != 0 && i + d >= 0 && i + d < states)
                s.moves.push_back({static_cast<std::uint32_t>(s.state + d), rate / 6.0, false});
        s.moves.push_back({1, 0.05 * rate, false});
        s.firing.emplace_back(1u, 1.0);
        chain.members.push_back(s);
        chain.visiting.push_back(static_cast<std::size_t>(i));
    }
    return chain;
}

TestChain QueueChainOf(int states, double rate)
{
    TestChain chain;
    for (int n = 1; n <= states; ++n) {
        TestState s;
        s.state = 1 + n;
        if (n < states) s.moves.push_back({s.state + 1, rate, false});
        s.firing.emplace_back(n == 1 ? 1u : s.state - 1, 1.0);
        chain.members.push_back(s);
        chain.visiting.push_back(static_cast<std::size_t>(n - 1));
    }
    return chain;
}

long long FileSize(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

void Measure(const char* name, const TestChain& chain)
{
    TempDir scratch;
    const std::string& dir = scratch.path;
    const auto start = std::chrono::steady_clock::now();
    const WorkerResult result = RunWorker(
        KILN_DA_PATH, {"localhost", "{port}", "net", "nodebug", dir, "1e-8"}, KilnStreamOf(chain));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-7s %7zu states: %.2f s wall, exit %d\n", name, chain.members.size(), seconds,
                result.status);
    for (const std::string& line : result.lines) std::printf("    %s\n", line.c_str());
    std::printf("    EMC %lld bytes, CONV %lld bytes\n", FileSize(dir + "/net.EMC01"),
                FileSize(dir + "/net.CONV01"));
}

}  // namespace

int main(int argc, char** argv)
{
    const int states = argc > 1 ? std::atoi(argv[1]) : 10000;
    const double rateTimesDelay = argc > 2 ? std::atof(argv[2]) : 10.0;
    Measure("queue", QueueChainOf(states, rateTimesDelay));
    Measure("banded", BandedChain(states, rateTimesDelay));
}
