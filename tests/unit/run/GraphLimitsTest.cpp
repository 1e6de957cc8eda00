// The limits of the graph: the lines of the per-user file that set them,
// the defaults derived from the machine, and the report of a process that
// can get no more memory.
#include <gtest/gtest.h>

#include <new>
#include <string>

#include "ReportExit.h"
#include "foundation/GraphLimits.h"
#include "run/GraphLimitSettings.h"
#include "run/OutOfMemoryReport.h"

namespace {

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

TEST(GraphLimitLines, SetTheLimitsAndChecksAndLeaveOtherLinesAlone)
{
    GraphLimits limits;
    std::string error;
    for (const char* line : {"MAX MARKINGS 5000", "MAX GRAPH MEMORY 300", "CAPPED COUNTS STOP",
                             "UNBOUNDED PLACES WARN", "MAX MARKINGS\t7000 "})
        EXPECT_TRUE(ReadGraphLimitLine(line, limits, error)) << line;
    EXPECT_EQ(error, "");
    EXPECT_EQ(limits.maxMarkings, 7000u);  // the later line wins
    EXPECT_EQ(limits.maxMemoryKB, 300u * 1024);
    EXPECT_EQ(limits.markingsSource, "MAX MARKINGS in .Plenar");
    EXPECT_EQ(limits.cappedCounts, GrowthCheck::Stop);
    EXPECT_EQ(limits.unboundedPlaces, GrowthCheck::Warn);
    for (const char* other :
         {"MAX PROCESSES PER HOST 2", "DROPTOLERANCE AUTO", "MAX MARKINGSX 5", "HOSTLISTSTART"})
        EXPECT_FALSE(ReadGraphLimitLine(other, limits, error)) << other;
    EXPECT_EQ(error, "");
}

TEST(GraphLimitLines, RefuseValuesTheyCannotTake)
{
    for (const char* line :
         {"MAX MARKINGS", "MAX MARKINGS 0", "MAX MARKINGS -5", "MAX MARKINGS 1e6",
          "MAX MARKINGS 99999999999999999999999", "MAX GRAPH MEMORY lots", "CAPPED COUNTS YES",
          "UNBOUNDED PLACES warn"}) {
        GraphLimits limits;
        std::string error;
        EXPECT_TRUE(ReadGraphLimitLine(line, limits, error)) << line;
        EXPECT_EQ(error, line);
    }
}

// 24 GiB: the graph may take 12 GiB, and 12 GiB / 128 bytes markings.
TEST(GraphLimitDefaults, HalfTheMemoryForTheGraphAndWhatASolverNeedsPerMarking)
{
    GraphLimits limits;
    DeriveGraphLimits(limits, 24 * kGiB, "the physical memory");
    EXPECT_EQ(limits.maxMemoryKB, 12 * kGiB / 1024);
    EXPECT_EQ(limits.maxMarkings, 12 * kGiB / 128);
    EXPECT_EQ(limits.memorySource, "derived from the physical memory (24.0 GB)");

    GraphLimits set;
    set.maxMarkings = 1000;
    set.markingsSource = "MAX MARKINGS in .Plenar";
    DeriveGraphLimits(set, 24 * kGiB, "the physical memory");
    EXPECT_EQ(set.maxMarkings, 1000u);
    EXPECT_EQ(set.markingsSource, "MAX MARKINGS in .Plenar");

    GraphLimits huge;
    DeriveGraphLimits(huge, 4096 * kGiB, "the physical memory");
    EXPECT_EQ(huge.maxMarkings, 4294967294u);  // state numbers are 32-bit
}

#if !defined(__SANITIZE_ADDRESS__)
void* volatile kept = nullptr;

void AllocateTooMuch()
{
    InstallOutOfMemoryReport();
    volatile std::size_t bytes = std::size_t{1} << 50;
    kept = ::operator new(bytes);
}

TEST(OutOfMemory, EndsWithAReportOfItsOwn)
{
    EXPECT_REPORT_EXIT(
        AllocateTooMuch(), 239,
        "file\t\t : Pendra/src/GraphLimits\nline\t\t : 105\nfunction \t : operator new\n"
        "description\t : out of memory\n");
}
#endif

}  // namespace
