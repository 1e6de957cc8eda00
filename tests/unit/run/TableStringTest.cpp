#include "foundation/RunState.h"
#include "run/TableString.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Stored() { return std::string(table_string, std::strlen(table_string)); }

// Loads the description of the net name from files, MODELDIR being modelDir.
void LoadFromFile(const std::string& netName, const std::string& modelDir)
{
    TableString.Clear();
    netname = netName.c_str();
    ModelD = modelDir.c_str();
    GetTableString();
}

TEST(StoreTableString, EndsTheTextWithTheEndByte)
{
    StoreTableString("Definition :");
    EXPECT_EQ(Stored(), "Definition :\xFF");
    EXPECT_EQ(table_string, TableString.GetCChar());
}

TEST(StoreTableString, CutsAtTheFirstEndByte)
{
    StoreTableString(std::string("ab\xFF" "cd\xFF", 6));
    EXPECT_EQ(Stored(), "ab\xFF");
}

TEST(StoreTableString, EmptyTextHoldsOnlyTheEndByte)
{
    StoreTableString("");
    EXPECT_EQ(Stored(), "\xFF");
}

TEST(GetTableString, TheTextOfMinusTWinsOverAnyFile)
{
    TableString = "Definition : \\x = 1";
    netname = "/nowhere/m";
    GetTableString();
    EXPECT_EQ(Stored(), "Definition : \\x = 1\xFF");
    EXPECT_TRUE(netname == "/nowhere/m");
}

TEST(GetTableString, LoadsTheFileOfAnAbsoluteNameAndShortensTheName)
{
    TempDir dir;
    dir.Write("m.table", std::string("Definition :\n\xFFgarbage", 22));
    LoadFromFile(dir.path + "/m", "/nowhere");
    EXPECT_EQ(Stored(), "Definition :\n\xFF");
    EXPECT_TRUE(netname == "m");
}

TEST(GetTableString, ReadsARelativeNameInTheModelDirectory)
{
    TempDir dir;
    dir.Write("m.TABLE", "upper");
    LoadFromFile("m", dir.path);
    EXPECT_EQ(Stored(), "upper\xFF");
    EXPECT_TRUE(netname == "m");
}

TEST(GetTableString, EndsTheRunWithoutADescriptionFile)
{
    TempDir dir;
    EXPECT_EXIT(LoadFromFile(dir.path + "/m", dir.path), testing::ExitedWithCode(253), "");
}

}  // namespace
