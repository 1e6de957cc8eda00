// Time and memory figures of a run: wall-clock seconds from time(), the
// process size from its page reclaims, and the free memory of the machine.
#pragma once

#include <cstdint>

extern std::int32_t all_start_time, all_stop_time, all_diff_time;
extern std::int32_t rrg_start_time, rrg_stop_time, rrg_diff_time;
extern std::uint32_t rrg_start_size, rrg_stop_size;  // bytes
extern std::uint32_t rrg_diff_size;                   // KB
extern std::uint32_t free_ram, free_swap;             // KB

void StartTime(std::int32_t& t);
void StopTime(std::int32_t& t);
void DiffTime(std::int32_t start, std::int32_t stop, std::int32_t& diff);

// "<t> sec. = <h>:<m>:<s> (hour:min:sec)" and a line end, without leading
// zeros: 3725 gives "3725 sec. = 1:2:5 (hour:min:sec)".
void ShowTime(std::int32_t t);

// The page reclaims of this process times the page size; 0 when unknown.
void ProcSize(std::uint32_t& size);
// (stop - start) / 1024, never negative: a shrinking count gives 0.
void DiffSize(std::uint32_t start, std::uint32_t stop, std::uint32_t& diff);

// The free main memory and the free swap space in KB; 0 when unknown.
void MemInfo(std::uint32_t& ram, std::uint32_t& swap);
