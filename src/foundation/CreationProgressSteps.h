// When the graph's creation shows its progress (a spinner turn or a count):
// every 200 markings while the graph is small, and, once it has grown past
// the markings a minute of creation makes, four times further apart at each
// doubling of its size. Shown every 200 markings throughout, a graph of
// forty million markings wrote 400 KB onto one line; with the steps
// growing, no graph writes more than about 63,000 turns. The engine shows
// by this schedule and the front end counts markings back from it.
#pragma once

#include <cstdint>
#include <limits>

namespace creation_progress {

constexpr std::uint32_t kFirstShow = 200;
// Below this count the display turns every 200 markings.
constexpr std::uint32_t kEvenUntil = std::uint32_t{1} << 23;

// The count at which the display shows next, after showing at `shown`
// (the largest count once the steps reach beyond it).
constexpr std::uint32_t NextShow(std::uint32_t shown)
{
    std::uint64_t step = kFirstShow;
    for (std::uint64_t bound = kEvenUntil; shown >= bound; bound *= 2) step *= 4;
    const std::uint64_t next = shown + step;
    return next > std::numeric_limits<std::uint32_t>::max() ? std::numeric_limits<std::uint32_t>::max()
                                                            : static_cast<std::uint32_t>(next);
}

}  // namespace creation_progress
