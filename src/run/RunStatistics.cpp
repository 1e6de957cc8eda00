// Time and memory measurements for the run statistics.
#include "run/RunStatistics.h"

#include <ctime>
#include <iostream>
#include <sys/resource.h>
#include <sys/sysinfo.h>
#include <unistd.h>

std::int32_t all_start_time = 0, all_stop_time = 0, all_diff_time = 0;
std::int32_t rrg_start_time = 0, rrg_stop_time = 0, rrg_diff_time = 0;
std::uint32_t rrg_start_size = 0, rrg_stop_size = 0;
std::uint32_t rrg_diff_size = 0;
std::uint32_t free_ram = 0, free_swap = 0;

void StartTime(std::int32_t& t) { t = static_cast<std::int32_t>(std::time(nullptr)); }

void StopTime(std::int32_t& t) { t = static_cast<std::int32_t>(std::time(nullptr)); }

void DiffTime(std::int32_t start, std::int32_t stop, std::int32_t& diff) { diff = stop - start; }

void ShowTime(std::int32_t t)
{
    std::cout << t << " sec. = " << t / 3600 << ':' << t % 3600 / 60 << ':' << t % 60
              << " (hour:min:sec)" << std::endl;
}

void ProcSize(std::uint32_t& size)
{
    rusage usage;
    if (getrusage(RUSAGE_SELF, &usage) != 0) {
        size = 0;
        return;
    }
    size = static_cast<std::uint32_t>(usage.ru_minflt) *
           static_cast<std::uint32_t>(getpagesize());
}

void DiffSize(std::uint32_t start, std::uint32_t stop, std::uint32_t& diff)
{
    diff = stop < start ? 0 : (stop - start) / 1024;
}

void MemInfo(std::uint32_t& ram, std::uint32_t& swap)
{
    struct sysinfo info;
    if (sysinfo(&info) != 0) {
        ram = swap = 0;
        return;
    }
    ram = static_cast<std::uint32_t>(info.freeram / 1024 * info.mem_unit);
    swap = static_cast<std::uint32_t>(info.freeswap / 1024 * info.mem_unit);
}
