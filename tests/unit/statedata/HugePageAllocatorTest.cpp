#include "statedata/HugePageAllocator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

// An array growing past 2 MiB keeps its contents, and from then on starts
// on a 2 MiB boundary, as huge pages need.
TEST(HugePageAllocator, ArraysKeepTheirContentsAndLargeOnesStartOnHugePages)
{
    std::vector<std::uint64_t, HugePageAllocator<std::uint64_t>> values;
    const std::size_t large = (std::size_t{1} << 21) / sizeof(std::uint64_t);
    for (std::size_t i = 0; i < 2 * large; ++i) {
        values.push_back(i * 0x9E3779B97F4A7C15ull);
        if (values.capacity() >= large) {
            ASSERT_EQ(reinterpret_cast<std::uintptr_t>(values.data()) % (std::size_t{1} << 21), 0u) << i;
        }
    }
    for (std::size_t i = 0; i < values.size(); ++i) ASSERT_EQ(values[i], i * 0x9E3779B97F4A7C15ull) << i;
    values.resize(16);
    values.shrink_to_fit();
    EXPECT_EQ(values[15], 15 * 0x9E3779B97F4A7C15ull);
}
