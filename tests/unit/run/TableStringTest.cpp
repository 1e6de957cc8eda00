#include "foundation/RunState.h"
#include "run/TableString.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

// The end byte, absolute names, upper-case and missing files are end-to-end
// cases; here the text of -T beside a file, and a name relative to MODELDIR.
namespace {

std::string Stored()
{
    return std::string(table_string, std::strlen(table_string));
}

// Loads the description of the net name from files, MODELDIR being modelDir.
void LoadFromFile(const std::string& netName, const std::string& modelDir)
{
    TableString.Clear();
    netname = netName.c_str();
    ModelD = modelDir.c_str();
    GetTableString();
}

TEST(GetTableString, TheTextOfMinusTWinsOverAnyFile)
{
    TableString = "Definition : \\x = 1";
    netname = "/nowhere/m";
    GetTableString();
    EXPECT_EQ(Stored(), "Definition : \\x = 1\xFF");
    EXPECT_TRUE(netname == "/nowhere/m");
}

TEST(GetTableString, ReadsARelativeNameInTheModelDirectory)
{
    TempDir dir;
    dir.Write("m.TABLE", "upper");
    LoadFromFile("m", dir.path);
    EXPECT_EQ(Stored(), "upper\xFF");
    EXPECT_TRUE(netname == "m");
}

}  // namespace
