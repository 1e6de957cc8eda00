#include "foundation/RunState.h"
#include "run/DelayTables.h"
#include "run/ReadDelays.h"

#include "TempDir.h"

#include <gtest/gtest.h>

// The delays files of the passes and an unknown transition in one are
// end-to-end cases; here the directory holds shell characters.
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
