// Limits of the graph from the per-user file and from the machine.
#include "run/GraphLimitSettings.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "foundation/RunState.h"
#include "run/RunExit.h"

namespace {

// A solver needs about this much per state for its matrix rows (a few
// entries of 12 to 16 bytes) and its vectors; the graph itself takes more.
constexpr std::uint64_t kSolverBytesPerMarking = 128;
// State numbers are unsigned 32-bit and never 0.
constexpr std::uint64_t kMostMarkings = 4294967294u;

std::string Gigabytes(std::uint64_t bytes)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f GB", static_cast<double>(bytes) / (1u << 30));
    return text;
}

}  // namespace

void DeriveGraphLimits(GraphLimits& limits, std::uint64_t memoryBytes, const char* source)
{
    const std::uint64_t half = memoryBytes / 2;
    const std::string derived =
        std::string("derived from ") + source + " (" + Gigabytes(memoryBytes) + ")";
    if (limits.maxMemoryKB == 0) {
        limits.maxMemoryKB = half / 1024;
        limits.memorySource = derived;
    }
    if (limits.maxMarkings == 0) {
        limits.maxMarkings = half / kSolverBytesPerMarking;
        if (limits.maxMarkings > kMostMarkings) limits.maxMarkings = kMostMarkings;
        limits.markingsSource = derived;
    }
    if (limits.maxMarkings > kMostMarkings) limits.maxMarkings = kMostMarkings;
}

void ReadGraphLimits()
{
    RunLimits = GraphLimits();
    std::ifstream file(PLENARRC.GetCChar());
    std::string line, error;
    while (std::getline(file, line))
        if (!line.empty() && line[0] != '#' && line[0] != '!' &&
            ReadGraphLimitLine(line, RunLimits, error) && !error.empty()) {
            std::cout << "\n\ncan't read the value of '" << error << "' in file "
                      << PLENARRC.GetCChar() << "\n\n";
            AbortRun();
        }
    std::uint64_t memory = static_cast<std::uint64_t>(sysconf(_SC_PHYS_PAGES)) *
                           static_cast<std::uint64_t>(sysconf(_SC_PAGE_SIZE));
    const char* source = "the physical memory";
    rlimit space{};
    if (getrlimit(RLIMIT_AS, &space) == 0 && space.rlim_cur != RLIM_INFINITY &&
        space.rlim_cur < memory) {
        memory = space.rlim_cur;
        source = "ulimit -v";
    }
    DeriveGraphLimits(RunLimits, memory, source);
}
