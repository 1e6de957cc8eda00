// A shared counter hands out the tasks, so they start in input order and a
// thread that finishes early takes the next one.
#include "frontend/ParallelRuns.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

std::size_t DefaultParallelRuns()
{
    return std::max(1u, std::thread::hardware_concurrency());
}

void RunInParallel(std::size_t count, std::size_t width,
                   const std::function<void(std::size_t)>& task, const std::function<bool()>& stop)
{
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (;;) {
            const std::size_t i = next.fetch_add(1);
            if (i >= count || stop()) return;
            task(i);
        }
    };
    const std::size_t threads = std::min(std::max<std::size_t>(width, 1), count);
    std::vector<std::thread> helpers;
    for (std::size_t i = 1; i < threads; ++i) helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers) helper.join();
}
