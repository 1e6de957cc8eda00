// The error block prints only the fields that are set (a line of 0 is none).
// Blocks with every field, the comment shown twice, and the exit statuses
// are end-to-end cases.
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
    EXPECT_EQ(printed(RRGError("Pendra/src/Misc", 12, nullptr, "broken")),
              "\nERROR occured\n\nfile\t\t : Pendra/src/Misc\nline\t\t : 12\n"
              "description\t : broken\n\n");
    EXPECT_EQ(printed(RRGError("pars", 0, "yyparse()", nullptr, "Transition")),
              "\nERROR occured\n\nfile\t\t : pars\nfunction \t : yyparse()\n"
              "additional info1 : Transition\n\n");
}

}  // namespace
