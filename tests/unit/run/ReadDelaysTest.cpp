#include "foundation/RunState.h"
#include "run/DelayTables.h"
#include "run/ReadDelays.h"

#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

class ReadDelaysTest : public testing::Test {
protected:
    void SetUp() override
    {
        subnames.HardClear();
        nb_transarray.clear();
        transitionsarrays.clear();
        dir_name = dir.path.c_str();
        purename = "m";
        subname = "BS";
        callno = 0;
    }

    TempDir dir;
};

TEST_F(ReadDelaysTest, ConsumesTheFilesOfThePassesUntilExit)
{
    dir.Write("m.BSdelays0", "0\n*#END#*\n");
    dir.Write("m.BSdelays1", "0 *#END#*");
    dir.Write("m.BSdelays2", "EXIT\n*#END#*\n");
    EXPECT_TRUE(ReadDelays(true));
    EXPECT_FALSE(dir.Exists("m.BSdelays0"));
    callno = 1;
    EXPECT_TRUE(ReadDelays(false));
    EXPECT_FALSE(dir.Exists("m.BSdelays1"));
    callno = 2;
    EXPECT_FALSE(ReadDelays(false));
    EXPECT_FALSE(dir.Exists("m.BSdelays2"));
}

TEST_F(ReadDelaysTest, FirstFileWithUnknownTransitionIsKept)
{
    dir.Write("m.BSdelays0", "1 S1 1 T1 0 2.0 *#END#*");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(ReadDelays(true));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ReadDelays: Error, couldn't find transition\\__ROOT__\\S1\\T1\n");
    EXPECT_TRUE(dir.Exists("m.BSdelays0"));
}

TEST_F(ReadDelaysTest, ShellCharactersInTheDirectoryAreHarmless)
{
    TempDir odd;
    std::string strange = odd.path + "/it's $(touch pwned)";
    std::filesystem::create_directory(strange);
    dir_name = strange.c_str();
    std::ofstream(strange + "/m.BSdelays0") << "0 *#END#*";
    EXPECT_TRUE(ReadDelays(true));
    EXPECT_FALSE(std::filesystem::exists(strange + "/m.BSdelays0"));
    EXPECT_FALSE(std::filesystem::exists("pwned"));
}

}  // namespace
