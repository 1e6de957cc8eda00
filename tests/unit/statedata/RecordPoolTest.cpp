#include "statespace/data/RecordPool.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

TEST(RecordPool, RecordsAreDistinctAndReusedAfterRelease)
{
    RecordPool pool(24);
    std::vector<void*> records;
    for (int i = 0; i < 1000; ++i) {
        void* r = pool.Allocate();
        std::memset(r, i & 0xFF, 24);  // must not overlap any other record
        records.push_back(r);
    }
    EXPECT_EQ(pool.Live(), 1000u);
    EXPECT_EQ(std::set<void*>(records.begin(), records.end()).size(), 1000u);
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(static_cast<unsigned char*>(records[i])[23], i & 0xFF);
    for (int i = 0; i < 1000; i += 2) pool.Release(records[i]);
    EXPECT_EQ(pool.Live(), 500u);
    for (int i = 0; i < 1000; i += 2) records[i] = pool.Allocate();
    EXPECT_EQ(std::set<void*>(records.begin(), records.end()).size(), 1000u);
    for (void* r : records) pool.Release(r);
    EXPECT_EQ(pool.Live(), 0u);
    void* again = pool.Allocate();  // usable after everything went back
    pool.Release(again);
}
