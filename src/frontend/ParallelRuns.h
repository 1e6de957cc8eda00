// Runs independent tasks on a few threads at once: the runs of a sweep that
// each generate their own graph.
#pragma once

#include <cstddef>
#include <functional>

// The number of runs to keep going at once when the user did not say:
// the machine's cores.
std::size_t DefaultParallelRuns();

// Calls task(i) for every i below `count`, on up to `width` threads, taking
// the tasks in order. Once `stop()` holds no further task is started.
void RunInParallel(std::size_t count, std::size_t width,
                   const std::function<void(std::size_t)>& task, const std::function<bool()>& stop);
