// Model names, delays files, results files and JSON numbers.
#include <gtest/gtest.h>

#include "frontend/DelaysFiles.h"
#include "frontend/JsonText.h"
#include "frontend/ModelNames.h"
#include "frontend/ResultsFile.h"

namespace {

TEST(ModelNames, NetNameIsShellSafeAndPureNameFollowsMosk)
{
    EXPECT_EQ(NetBaseName("examples/mm1k.table"), "mm1k");
    EXPECT_EQ(NetBaseName("/x/My Model$.TABLE"), "My_Model_");
    EXPECT_EQ(NetBaseName("-odd"), "_odd");
    EXPECT_EQ(NetBaseName("dir/..table"), "model");
    EXPECT_EQ(PureName("m.BS.net"), "m.");
    EXPECT_EQ(PureName("mBS"), "m");
    EXPECT_EQ(PureName("kanBSan.network"), "kananwork");
}

TEST(DelaysFiles, EntriesAreGroupedBySubModelInOrderOfFirstMention)
{
    EXPECT_EQ(DelaysFileText({}), "0\n*#END#*\n");
    EXPECT_EQ(ExitFileText(), "EXIT\n*#END#*\n");
    EXPECT_EQ(DelaysFileText({{"Page", "T", 0.1}}), "1\nPage 1\nT 0 0.10000000000000001\n*#END#*\n");
    EXPECT_EQ(DelaysFileText({{"A", "T", 1}, {"B\\C", "U", 2}, {"A", "V", 3}}),
              "2\nA 2\nT 0 1\nV 0 3\nB\\C 1\nU 0 2\n*#END#*\n");
    EXPECT_EQ(DelaysFilePath("/d", "m", 2), "/d/m.BSdelays2");
}

TEST(ResultsFile, ValuesStayTextAndTheEndLineIsRequired)
{
    const PassResults full = ParseResults("\\p0 0.5079365079365079\n\\S\\q -1e-05\n*#END#*\n");
    ASSERT_EQ(full.measures.size(), 2u);
    EXPECT_EQ(full.measures[1].name, "\\S\\q");
    EXPECT_EQ(full.measures[1].value, "-1e-05");
    EXPECT_TRUE(full.complete);
    EXPECT_FALSE(ParseResults("\\p0 0.5\n").complete);
    EXPECT_FALSE(ReadTangibleMarkings("/nonexistent/m.AUX"));
}

TEST(JsonText, NumbersPassAndEverythingElseIsQuoted)
{
    EXPECT_EQ(JsonNumberText("0.5"), "0.5");
    EXPECT_EQ(JsonNumberText("-1e-05"), "-1e-05");
    EXPECT_EQ(JsonNumberText("1e+20"), "1e+20");
    EXPECT_EQ(JsonNumberText("-nan"), "\"-nan\"");
    EXPECT_EQ(JsonNumberText("inf"), "\"inf\"");
    EXPECT_EQ(JsonNumberText("01"), "\"01\"");
    EXPECT_EQ(JsonNumberText("1."), "\"1.\"");
    EXPECT_EQ(JsonString("a\\b\"c\n"), "\"a\\\\b\\\"c\\n\"");
    EXPECT_EQ(JsonDouble(0.1), "0.1");
}

}  // namespace
