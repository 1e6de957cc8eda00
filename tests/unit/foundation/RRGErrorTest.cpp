#include "foundation/Reporters.h"

#include <gtest/gtest.h>

namespace {

std::string printed(const RRGError& e)
{
    testing::internal::CaptureStdout();
    e.PrintError();
    return testing::internal::GetCapturedStdout();
}

TEST(RRGError, PrintsOnlyTheFieldsThatAreSet)
{
    RRGError e("Pendra/src/Misc", 12, nullptr, "broken");
    EXPECT_EQ(printed(e),
              "\nERROR occured\n\nfile\t\t : Pendra/src/Misc\nline\t\t : 12\n"
              "description\t : broken\n\n");
}

TEST(RRGError, CommentIsPrintedTwiceAndLineZeroIsOmitted)
{
    RRGError e("pars", 0, "yyparse()", "parse error", "Transition", "T1", " a comment ");
    EXPECT_EQ(printed(e),
              "\nERROR occured\n\n a comment \n\nfile\t\t : pars\nfunction \t : yyparse()\n"
              "description\t : parse error\nadditional info1 : Transition\n"
              "additional info2 : T1\nadditional info3 :  a comment \n\n");
}

TEST(RRGError, AssignmentKeepsFieldsWhereTheSourceHasNone)
{
    RRGError target("f", 1, "g", "d", "i1");
    RRGError source;
    source.line = 5;
    target = source;
    EXPECT_EQ(target.line, 5);
    EXPECT_TRUE(target.info1 == "i1");
}

TEST(Reporters, ClassCheckErrorExitsWith249)
{
    EXPECT_EXIT(SubErr(10, "Tms2PTms()", "collected empty tokenmultiset", Str("P"), Str("P")),
                testing::ExitedWithCode(249), "");
}

}  // namespace
