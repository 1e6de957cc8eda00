#include "statedata/BlockArena.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

TEST(BlockArena, BlocksAreAlignedAndDisjointAcrossChunksAndLargeBlocks)
{
    BlockArena arena;
    struct Block {
        unsigned char* at;
        std::size_t bytes;
    };
    std::vector<Block> blocks;
    // Small blocks of odd sizes over several chunks, one larger than a chunk.
    for (int i = 0; i < 200000; ++i) {
        std::size_t bytes = i == 1000 ? (std::size_t{3} << 20) : 1 + i % 61;
        auto* at = static_cast<unsigned char*>(arena.Allocate(bytes));
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(at) % 8, 0u) << i;
        std::memset(at, i & 0xFF, bytes);
        blocks.push_back({at, bytes});
    }
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        ASSERT_EQ(blocks[i].at[0], i & 0xFF) << i;
        ASSERT_EQ(blocks[i].at[blocks[i].bytes - 1], i & 0xFF) << i;
    }
    arena.Release();
    EXPECT_NE(arena.Allocate(16), nullptr);  // usable again after the release
}
