// The per-user file as the deterministic workers read it: host list with
// priorities, worker limit, distribution threshold, remote shell, and the
// stop when the file has gone (one without hosts is an end-to-end case).
#include "solution/ExecKiln.h"
#include "solution/PlenarFile.h"

#include "WorkerFixture.h"
#include "foundation/Reporters.h"

#include <sstream>

namespace {

PlenarSettings Parse(const std::string& text)
{
    std::istringstream file(text);
    PlenarSettings settings;
    ParsePlenarFile(file, settings);
    return settings;
}

TEST(PlenarFile, HostListWithPrioritiesAndTheSettingsAroundIt)
{
    PlenarSettings s = Parse(
        "# comment\n! comment\n\nMAX PROCESSES PER HOST 3\r\nhostlistStart\nhostA\n"
        "PRIORITY 5\nhostB.example.org\nhostC\nHOSTLISTEND\nnotAHost\n"
        "START DISTRIBUTION AT 500.5\nREMOTE SHELL  /usr/bin/ssh \nDROPTOLERANCE 1e-3\n");
    ASSERT_EQ(s.hosts.size(), 3u);
    EXPECT_EQ(s.hosts[0].name, "hostA");
    EXPECT_EQ(s.hosts[0].priority, 1);
    EXPECT_EQ(s.hosts[1].name, "hostB.example.org");
    EXPECT_EQ(s.hosts[1].priority, 5);
    EXPECT_EQ(s.hosts[2].priority, 5);
    EXPECT_EQ(s.max_processes, 3u);
    EXPECT_DOUBLE_EQ(s.start_distribution_at, 500.5);
    EXPECT_EQ(s.remote_shell, "/usr/bin/ssh");
}

TEST(PlenarFile, DefaultsAndValuesThatAreReplaced)
{
    PlenarSettings defaults = Parse("HOSTLISTSTART\nh\nHOSTLISTEND\n");
    EXPECT_EQ(defaults.max_processes, 2u);
    EXPECT_DOUBLE_EQ(defaults.start_distribution_at, 200.0);
    EXPECT_EQ(defaults.remote_shell, "/usr/ucb/rsh");

    PlenarSettings replaced =
        Parse("MAX PROCESSES PER HOST 0\nSTART DISTRIBUTION AT -5\nMAX PROCESSES PER HOST x\n");
    EXPECT_EQ(replaced.max_processes, 1u);  // 0 still lets one worker run
    EXPECT_DOUBLE_EQ(replaced.start_distribution_at, 200.0);
    EXPECT_TRUE(replaced.hosts.empty());

    // Outside the host list a host line is just an unknown line.
    EXPECT_TRUE(Parse("hostA\nPRIORITY 3\nHOSTLISTEND\n").hosts.empty());
}

using ReadEnvironmentTest = WorkerFixture;

TEST_F(ReadEnvironmentTest, TheLocalHostIsTheListedOneOrAnUnlistedRecord)
{
    Write("/.Plenar",
          "HOSTLISTSTART\nelsewhere\n" + ThisHost() + "\nHOSTLISTEND\nMAX PROCESSES PER HOST 4\n");
    execinfo listed;
    double threshold = 0.0;
    ReadEnvironment(listed, threshold);
    EXPECT_EQ(listed.local_host, &listed.hosts[1]);
    EXPECT_EQ(listed.local_host_name, ThisHost());
    EXPECT_EQ(listed.max_processes, 4u);
    EXPECT_DOUBLE_EQ(threshold, 200.0);

    Write("/.Plenar", "HOSTLISTSTART\nelsewhere\nHOSTLISTEND\n");
    execinfo unlisted;
    ReadEnvironment(unlisted, threshold);
    EXPECT_EQ(unlisted.hosts.size(), 1u);
    ASSERT_NE(unlisted.local_host, nullptr);
    EXPECT_EQ(unlisted.local_host->name, ThisHost());
}

TEST_F(ReadEnvironmentTest, AFileThatWentAwayStopsTheRun)
{
    execinfo e;
    double threshold = 0.0;
    std::filesystem::remove(dir_ + "/.Plenar");
    EXPECT_REPORT_EXIT(ReadEnvironment(e, threshold), kExitDeterministicWorkers,
                       "line\t\t : 227\n.*can't open file for reading");
}

}  // namespace
