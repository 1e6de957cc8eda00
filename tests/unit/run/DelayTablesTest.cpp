#include "foundation/RunState.h"
#include "run/DelayTables.h"

#include <gtest/gtest.h>

#include <string>

// Files without sub-models and the EXIT of the last pass are end-to-end cases.
namespace {

// Transitions of a made-up net: \__ROOT__\A\t1 is number 3, \__ROOT__\B\t2 is 7.
int FakeLookup(const Str& fullName)
{
    if (fullName == "\\__ROOT__\\A\\t1") return 3;
    if (fullName == "\\__ROOT__\\B\\t2") return 7;
    return -1;
}

const char* const kTwoSubModels = "2  A 1 t1 0 2.5  B 2 t2 9 4 t2 1 0.5 *#END#* trailing";

class DelayTablesTest : public testing::Test {
protected:
    void SetUp() override
    {
        subnames.HardClear();
        nb_transarray.clear();
        transitionsarrays.clear();
        subname = "BS";
    }

    bool Load(const char* text)
    {
        DelaysFileWords words(text);
        return LoadDelayTables(words, FakeLookup);
    }

    bool Update(const char* text)
    {
        DelaysFileWords words(text);
        return UpdateDelayTables(words);
    }

    // A second pass over tables with A's t1 at 2.5 and B's t2 at 4.
    bool SecondPass(const char* text)
    {
        EXPECT_TRUE(Load("2 A 1 t1 0 2.5 B 1 t2 9 4 *#END#*"));
        return Update(text);
    }
};

TEST_F(DelayTablesTest, FirstFileFixesTheStructure)
{
    ASSERT_TRUE(Load(kTwoSubModels));
    ASSERT_EQ(nb_subtrans, 2u);
    EXPECT_TRUE(*subnames.GetLE(1) == "A");
    EXPECT_TRUE(*subnames.GetLE(2) == "B");
    ASSERT_EQ(nb_transarray, (std::vector<unsigned>{1, 2}));
    EXPECT_EQ(transitionsarrays[0][0].transNo, 3);
    EXPECT_DOUBLE_EQ(transitionsarrays[0][0].delay, 2.5);
    EXPECT_TRUE(transitionsarrays[1][0].name == "t2");
    EXPECT_EQ(transitionsarrays[1][0].number, 9u);
    EXPECT_DOUBLE_EQ(transitionsarrays[1][1].delay, 0.5);
}

TEST_F(DelayTablesTest, OwnPositionIsFoundForASubModelAndMinusOneForTheSkeleton)
{
    subname = "B";
    ASSERT_TRUE(Load(kTwoSubModels));
    EXPECT_EQ(mynumber, 1);

    SetUp();
    ASSERT_TRUE(Load("1 A 1 t1 0 2 *#END#*"));
    EXPECT_EQ(mynumber, -1);
}

TEST_F(DelayTablesTest, FirstFileThatEndsInsideItsStructureIsRejected)
{
    testing::internal::CaptureStdout();
    EXPECT_FALSE(Load("3 A 1 t1 0 2 *#END#*"));
    EXPECT_FALSE(Load("4000000000 *#END#*"));
    testing::internal::GetCapturedStdout();
}

TEST_F(DelayTablesTest, LaterFilesChangeOnlyTheDelays)
{
    EXPECT_TRUE(SecondPass("2 X 5 y 0 8.0 Y 5 z 0 0.25 *#END#*"));
    EXPECT_DOUBLE_EQ(transitionsarrays[0][0].delay, 8.0);
    EXPECT_DOUBLE_EQ(transitionsarrays[1][0].delay, 0.25);
    EXPECT_TRUE(transitionsarrays[1][0].name == "t2");
    EXPECT_EQ(transitionsarrays[1][0].transNo, 7);
}

TEST_F(DelayTablesTest, MissingWordsOfALaterFileKeepTheOldDelays)
{
    EXPECT_TRUE(SecondPass("2 A 1 t1 0 3 *#END#*"));
    EXPECT_DOUBLE_EQ(transitionsarrays[0][0].delay, 3.0);
    EXPECT_DOUBLE_EQ(transitionsarrays[1][0].delay, 4.0);
}

TEST(DelaysFileWords, IsCompleteOnlyWithTheEndWordAndStopsThere)
{
    EXPECT_FALSE(DelaysFileWords("1 A 0").IsComplete());
    EXPECT_FALSE(DelaysFileWords("").IsComplete());
    DelaysFileWords words("7\n*#END#*\n8");
    EXPECT_TRUE(words.IsComplete());
    EXPECT_EQ(words.NextUnsigned(), 7u);
    EXPECT_TRUE(words.AtEnd());
    EXPECT_EQ(words.Next(), "");
}

}  // namespace
