#include "foundation/RunState.h"
#include "run/TableString.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Stored() { return std::string(table_string, std::strlen(table_string)); }

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
    TableString.Clear();
    netname = (dir.path + "/m").c_str();
    ModelD = "/nowhere";
    GetTableString();
    EXPECT_EQ(Stored(), "Definition :\n\xFF");
    EXPECT_TRUE(netname == "m");
}

TEST(GetTableString, ReadsARelativeNameInTheModelDirectory)
{
    TempDir dir;
    dir.Write("m.TABLE", "upper");
    TableString.Clear();
    netname = "m";
    ModelD = dir.path.c_str();
    GetTableString();
    EXPECT_EQ(Stored(), "upper\xFF");
    EXPECT_TRUE(netname == "m");
}

TEST(GetTableString, EndsTheRunWithoutADescriptionFile)
{
    TempDir dir;
    TableString.Clear();
    netname = (dir.path + "/m").c_str();
    EXPECT_EXIT(GetTableString(), testing::ExitedWithCode(253), "");
}

}  // namespace
