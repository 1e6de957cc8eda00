// The report keeps a reserve to print with, may be raised by either thread
// of the generation, and ends the process without running destructors over
// data another thread may still be using.
#include "run/OutOfMemoryReport.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "foundation/RRGError.h"
#include "foundation/Reporters.h"

namespace {

constexpr std::size_t kReserveBytes = std::size_t{1} << 20;
void* reserve = nullptr;
std::atomic_flag reporting = ATOMIC_FLAG_INIT;

void ReportOutOfMemory()
{
    if (reporting.test_and_set()) {
        for (;;) pause();  // the first thread out of memory reports and ends the process
    }
    std::free(reserve);
    reserve = nullptr;
    RRGError(
        "Pendra/src/GraphLimits", 105, "operator new", "out of memory",
        "the process can get no more memory: lower MAX GRAPH MEMORY in .Plenar or raise ulimit -v")
        .PrintError();
    std::fflush(stdout);
    _exit(kExitGraphLimits & 0xff);
}

}  // namespace

void InstallOutOfMemoryReport()
{
    reserve = std::malloc(kReserveBytes);
    std::set_new_handler(ReportOutOfMemory);
}
