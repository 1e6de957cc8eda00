// One-line summaries of failed mosk runs.
#include <gtest/gtest.h>

#include "frontend/FailureAdvice.h"

namespace {

const char* const kLexicalError =
    "parsing transition table ...\n\nERROR occured\n\nfile\t\t : scan\nline\t\t : 7\n"
    "function \t : yylex()\ndescription\t : Error while converting string to double (strtod())\n"
    "additional info1 : Transition\nadditional info2 : 0.\n\n";

TEST(FailureAdvice, ErrorReportFieldsAreFound)
{
    const ErrorReport report = FindErrorReport(kLexicalError);
    EXPECT_EQ(report.line, "7");
    EXPECT_EQ(report.function, "yylex()");
    EXPECT_EQ(report.description, "Error while converting string to double (strtod())");
    EXPECT_EQ(report.info1, "Transition");
    EXPECT_EQ(report.info2, "0.");
    EXPECT_EQ(FindErrorReport("no report here").line, "");
}

TEST(FailureAdvice, SummaryNamesTheStageAndThePlace)
{
    const std::string lexical = FailureSummary(251, kLexicalError);
    EXPECT_NE(lexical.find("lexical error in the description at line 7"), std::string::npos);
    EXPECT_NE(lexical.find("section Transition near '0.'"), std::string::npos);
    EXPECT_EQ(lexical.find('\n'), std::string::npos);
    EXPECT_NE(FailureSummary(253, "ReadDelays: Error, couldn't find transition\\__ROOT__\\S\\T\n")
                  .find("--set names no exponential"),
              std::string::npos);
    EXPECT_NE(FailureSummary(246, "").find("reachability graph"), std::string::npos);
    EXPECT_NE(FailureSummary(137, "").find("signal 9"), std::string::npos);
    EXPECT_EQ(FailureSummary(77, ""), "mosk ended with status 77");
}

TEST(FailureAdvice, OnlyMatrixErrorsOfTheDirectSolverAskForTheIteration)
{
    std::string reason;
    EXPECT_TRUE(DirectSolverGaveUp(1, "x\n\t\t ERROR: row number 3 has a zero pivot\ny", reason));
    EXPECT_EQ(reason, "ERROR: row number 3 has a zero pivot");
    EXPECT_FALSE(DirectSolverGaveUp(1, "\t\t ERROR in SolveLGS : no. of tang. marking=0", reason));
    EXPECT_FALSE(DirectSolverGaveUp(250, "row number 3 has a zero pivot", reason));
    EXPECT_FALSE(DirectSolverGaveUp(1, "\t\t ERROR: row number 3 has a duplicate entry", reason));
}

}  // namespace
