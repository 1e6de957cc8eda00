#include "statedata/AtaScan.h"

#include <gtest/gtest.h>

#include <vector>

// Zeros are passed in blocks of 32: one or two entries anywhere (first and
// last of a block, across blocks, in the tail after the last whole block)
// must be found, in order, and counted.
TEST(AtaScan, EntriesAreFoundWhereverTheyLieAroundTheBlocks)
{
    for (unsigned width : {1u, 31u, 32u, 33u, 64u, 70u, 100u}) {
        for (unsigned first = 0; first < width; ++first)
            for (unsigned second = first; second < width; ++second) {
                std::vector<short> ata(width, 0);
                ata[first] = 1;
                ata[second] = -1;  // the same entry when second == first
                const std::vector<unsigned> want =
                    first == second ? std::vector<unsigned>{first} : std::vector<unsigned>{first, second};
                std::vector<unsigned> found(width);
                found.resize(ActiveIndices(ata.data(), width, found.data()));
                ASSERT_EQ(found, want) << "width " << width << " at " << first << ", " << second;
                for (std::size_t count = 0; count <= 2; ++count)
                    ASSERT_EQ(MoreActiveThan(ata.data(), width, count), want.size() > count)
                        << "width " << width << " at " << first << ", " << second << " count " << count;
            }
        const std::vector<short> zeros(width, 0);
        std::vector<unsigned> none(width);
        EXPECT_EQ(ActiveIndices(zeros.data(), width, none.data()), 0u);
        EXPECT_FALSE(MoreActiveThan(zeros.data(), width, 0));
    }
}
