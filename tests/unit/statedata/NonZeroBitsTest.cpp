#include "statedata/NonZeroBits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// The marks of entries that are not 0, one entry at a time.
template <class Entry>
std::vector<std::uint64_t> Marks(const std::vector<Entry>& entries, std::size_t& count)
{
    std::vector<std::uint64_t> words(NonZeroWords(entries.size()), 0);
    count = 0;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i] != 0) {
            words[i / 64] |= std::uint64_t{1} << (i % 64);
            ++count;
        }
    return words;
}

// Entries are compared 16 at a time, or a vector's worth, or one by one,
// with a last group that overlaps the one before, and 64 zeros are passed
// at once: one or two entries anywhere (ends of groups and of words, the
// tail after the last whole group), at every width around those sizes, of
// either size, and with the high half alone set, must be marked and
// counted as they are; words of zeros must stay zero.
template <class Entry>
void MarksEveryEntryWhereverItLies(Entry high)
{
    for (std::size_t width : {1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 22, 31, 33, 63, 64, 65, 80, 127, 128, 129, 200}) {
        for (std::size_t first = 0; first < width; ++first)
            for (std::size_t second : {first, (first + 1) % width, width - 1, first / 2}) {
                std::vector<Entry> entries(width, 0);
                entries[first] = 1;
                entries[second] = high;
                std::size_t want = 0;
                const std::vector<std::uint64_t> marks = Marks(entries, want);
                std::vector<std::uint64_t> got(marks.size(), ~std::uint64_t{0});
                ASSERT_EQ(MarkNonZero<sizeof(Entry)>(entries.data(), width, got.data()), want)
                    << "width " << width << " at " << first << ", " << second;
                ASSERT_EQ(got, marks) << "width " << width << " at " << first << ", " << second;
            }
        const std::vector<Entry> zeros(width, 0);
        std::vector<std::uint64_t> got(NonZeroWords(width), ~std::uint64_t{0});
        EXPECT_EQ(MarkNonZero<sizeof(Entry)>(zeros.data(), width, got.data()), 0u) << width;
        EXPECT_EQ(got, std::vector<std::uint64_t>(NonZeroWords(width), 0)) << width;
        const std::vector<Entry> full(width, 3);
        std::size_t want = 0;
        const std::vector<std::uint64_t> all = Marks(full, want);
        EXPECT_EQ(MarkNonZero<sizeof(Entry)>(full.data(), width, got.data()), width) << width;
        EXPECT_EQ(got, all) << width;
    }
}

}  // namespace

TEST(NonZeroBits, PairsOfWordsAreMarkedWhereverTheyLie)
{
    MarksEveryEntryWhereverItLies<std::uint32_t>(0x10000);
}

TEST(NonZeroBits, AtaEntriesAreMarkedWhereverTheyLie)
{
    MarksEveryEntryWhereverItLies<short>(-32768);
}
