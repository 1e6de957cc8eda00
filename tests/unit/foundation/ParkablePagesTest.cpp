#include "foundation/ParkablePages.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Resident bytes of this process now.
std::size_t ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

void Fill(std::uint64_t* at, std::size_t words, std::uint64_t seed)
{
    for (std::size_t i = 0; i < words; ++i) at[i] = seed * 0x9E3779B97F4A7C15ull + i;
}

bool Holds(const std::uint64_t* at, std::size_t words, std::uint64_t seed)
{
    for (std::size_t i = 0; i < words; ++i)
        if (at[i] != seed * 0x9E3779B97F4A7C15ull + i) return false;
    return true;
}

struct TempDir {
    std::string path;
    TempDir()
    {
        char name[] = "/var/tmp/parked-test-XXXXXX";
        path = mkdtemp(name) ? name : ".";
    }
    ~TempDir() { rmdir(path.c_str()); }  // fails, and so shows, if a file was left
};

}  // namespace

// Parked chunks keep their contents and addresses, leave the resident
// memory, take writes afterwards and keep them through a second parking;
// the directory holds no file.
TEST(ParkablePages, ParkingKeepsContentsAndGivesBackTheMemory)
{
    constexpr std::size_t kBytes = std::size_t{48} << 20;
    constexpr std::size_t kWords = kBytes / sizeof(std::uint64_t);
    TempDir dir;
    auto* big = static_cast<std::uint64_t*>(ParkablePages::Allocate(kBytes));
    auto* odd = static_cast<std::uint64_t*>(ParkablePages::Allocate(1000 * sizeof(std::uint64_t)));
    ASSERT_EQ(reinterpret_cast<std::uintptr_t>(big) % sysconf(_SC_PAGESIZE), 0u);
    EXPECT_EQ(big[kWords - 1], 0u);  // zero-filled
    Fill(big, kWords, 1);
    Fill(odd, 1000, 2);

    std::size_t before = ResidentBytes();
    EXPECT_GE(ParkablePages::Park(dir.path), kBytes);
    EXPECT_LT(ResidentBytes() + kBytes / 2, before);
    EXPECT_TRUE(Holds(big, kWords, 1));
    EXPECT_TRUE(Holds(odd, 1000, 2));

    Fill(big, kWords, 3);  // written while mapped from the file
    ParkablePages::Park(dir.path);
    EXPECT_TRUE(Holds(big, kWords, 3));

    // A chunk made after a parking is parked by the next one.
    auto* late = static_cast<std::uint64_t*>(ParkablePages::Allocate(kBytes));
    Fill(late, kWords, 4);
    before = ResidentBytes();
    ParkablePages::Park(dir.path);
    EXPECT_LT(ResidentBytes() + kBytes / 2, before);
    EXPECT_TRUE(Holds(late, kWords, 4));

    ParkablePages::Free(late, kBytes);
    ParkablePages::Free(odd, 1000 * sizeof(std::uint64_t));
    ParkablePages::Free(big, kBytes);
    EXPECT_EQ(ParkablePages::Bytes(), 0u);
}

// Without a file to park in, everything stays in memory as it was.
TEST(ParkablePages, WithoutAFileNothingMovesAndNothingIsLost)
{
    constexpr std::size_t kWords = 1 << 20;
    auto* chunk = static_cast<std::uint64_t*>(ParkablePages::Allocate(kWords * sizeof(std::uint64_t)));
    Fill(chunk, kWords, 5);
    EXPECT_EQ(ParkablePages::Park("/nonexistent/directory"), 0u);
    EXPECT_TRUE(Holds(chunk, kWords, 5));
    ParkablePages::Free(chunk, kWords * sizeof(std::uint64_t));
}
