#include "run/PathNames.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(const Str& s) { return s.IsNull() ? "<null>" : s.GetCChar(); }

TEST(TmpPfad, KeepsTheTextBeforeTheLastSlashBehindTheFirstCharacter)
{
    EXPECT_EQ(Text(TmpPfad("/a/b/net")), "/a/b");
    EXPECT_EQ(Text(TmpPfad("dir/")), "dir");
    EXPECT_EQ(Text(TmpPfad("sub/net")), "sub");
    EXPECT_EQ(Text(TmpPfad("//net")), "/");
}

TEST(TmpPfad, GivesTheEmptyTextWithoutAUsableSlash)
{
    EXPECT_EQ(Text(TmpPfad("/net")), "");
    EXPECT_EQ(Text(TmpPfad("net")), "");
    EXPECT_EQ(Text(TmpPfad("")), "");
}

TEST(PureName, RemovesDirectoryFirstNetSuffixAndFirstSubName)
{
    EXPECT_EQ(Text(PureName("/x/m.BS.net", "BS")), "m.");
    EXPECT_EQ(Text(PureName("/x/mBS", "BS")), "m");
    EXPECT_EQ(Text(PureName("/x/BSmBS", "BS")), "mBS");
    EXPECT_EQ(Text(PureName("/x/m.net.net", "S1")), "m.net");
    EXPECT_EQ(Text(PureName("/x/model", "BS")), "model");
}

TEST(PureName, TakesTheWholeNameWithoutSlashAndIgnoresAMissingSubName)
{
    EXPECT_EQ(Text(PureName("m.net", "BS")), "m");
    EXPECT_EQ(Text(PureName("/x/m", Str())), "m");
    EXPECT_EQ(Text(PureName("/x/m", "")), "m");
}

}  // namespace
