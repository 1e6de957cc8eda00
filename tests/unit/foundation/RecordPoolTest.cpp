#include "foundation/RecordPool.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

TEST(RecordPool, RecordsAreDistinctAndReusedAfterRelease)
{
    // Enough records to fill chunks of the largest size, several times over.
    const int count = 300000;
    RecordPool pool(24, alignof(void*));  // the packing of the graph edges
    std::vector<void*> records;
    for (int i = 0; i < count; ++i) {
        void* r = pool.Allocate();
        std::memset(r, i & 0xFF, 24);  // must not overlap any other record
        records.push_back(r);
    }
    EXPECT_EQ(pool.Live(), std::size_t(count));
    EXPECT_EQ(std::set<void*>(records.begin(), records.end()).size(), std::size_t(count));
    for (int i = 0; i < count; ++i)
        ASSERT_EQ(static_cast<unsigned char*>(records[i])[23], i & 0xFF) << i;
    for (int i = 0; i < count; i += 2) pool.Release(records[i]);
    EXPECT_EQ(pool.Live(), std::size_t(count / 2));
    for (int i = 0; i < count; i += 2) records[i] = pool.Allocate();
    EXPECT_EQ(std::set<void*>(records.begin(), records.end()).size(), std::size_t(count));
    for (void* r : records) pool.Release(r);
    EXPECT_EQ(pool.Live(), 0u);
    // Usable after everything went back (the first chunk is kept, its
    // records free again), also beyond that chunk, and again after that.
    for (int round = 0; round < 2; ++round) {
        records.assign(1000, nullptr);
        for (int i = 0; i < 1000; ++i) {
            records[i] = pool.Allocate();
            std::memset(records[i], i & 0xFF, 24);
        }
        EXPECT_EQ(std::set<void*>(records.begin(), records.end()).size(), 1000u);
        for (int i = 0; i < 1000; ++i)
            ASSERT_EQ(static_cast<unsigned char*>(records[i])[0], i & 0xFF) << i;
        for (void* r : records) pool.Release(r);
    }
    EXPECT_EQ(pool.Live(), 0u);
}
