// The chain file writer gathers records in a buffer of its own: records on
// both sides of its boundary must reach the file whole and in order, and a
// file that cannot take them must say so.
#include "ChainFixture.h"

#include "solution/ChainFileWriter.h"
#include "solution/ChainFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

namespace {

using ChainFileWriterTest = ChainFixture;

// Rows of 1 to 7 entries whose values name their row and place, so that a
// lost, doubled or shifted record shows; about 2.5 MB, over two buffers.
TEST_F(ChainFileWriterTest, RecordsPastSeveralBuffersReadBackInOrder)
{
    constexpr std::uint32_t kRows = 60000;
    ChainFileWriter writer;
    ASSERT_TRUE(writer.Open(Path(".EMC00")));
    for (std::uint32_t row = 1; row <= kRows; ++row) {
        ASSERT_TRUE(writer.WriteHeader(row, row % 7 + 1));
        for (std::uint32_t k = 0; k <= row % 7; ++k)
            ASSERT_TRUE(writer.WriteEntry(row + k / 8.0, row * 8 + k));
    }
    ASSERT_TRUE(writer.Close());

    std::FILE* file = std::fopen(Path(".EMC00").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    ChainFileReader reader(file);
    for (std::uint32_t row = 1; row <= kRows; ++row) {
        std::uint32_t read_row = 0, count = 0;
        ASSERT_EQ(reader.ReadHeader(read_row, count), ChainFileReader::kRecord) << row;
        ASSERT_EQ(read_row, row);
        ASSERT_EQ(count, row % 7 + 1);
        for (std::uint32_t k = 0; k < count; ++k) {
            double value = 0.0;
            std::uint32_t state = 0;
            ASSERT_EQ(reader.ReadEntry(value, state), ChainFileReader::kRecord);
            ASSERT_EQ(value, row + k / 8.0);
            ASSERT_EQ(state, row * 8 + k);
        }
    }
    std::uint32_t row = 0, count = 0;
    EXPECT_EQ(reader.ReadHeader(row, count), ChainFileReader::kEnd);
    std::fclose(file);
}

// A device that takes nothing: the records are refused when the buffer is
// handed on, at the latest when the file is closed.
TEST(ChainFileWriter, AFullDeviceFailsTheWritingOrTheClosing)
{
    ChainFileWriter writer;
    ASSERT_TRUE(writer.Open("/dev/full"));
    bool taken = true;
    for (int k = 0; k < 200000 && taken; ++k) taken = writer.WriteEntry(1.0, 1);
    EXPECT_FALSE(taken);
    EXPECT_FALSE(writer.Close());

    ChainFileWriter few;
    ASSERT_TRUE(few.Open("/dev/full"));
    EXPECT_TRUE(few.WriteHeader(1, 1));
    EXPECT_FALSE(few.Close());
}

}  // namespace
