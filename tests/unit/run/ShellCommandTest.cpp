#include "run/ShellCommand.h"

#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

TEST(RunShellCommand, RunsTheCommandAndIgnoresItsFailure)
{
    TempDir dir;
    dir.Write("a b", "");
    dir.Write("it's $(x)", "");
    RunShellCommand(Str("rm -- ") + ShellQuote(dir.File("a b").c_str()));
    RunShellCommand(Str("rm -- ") + ShellQuote(dir.File("it's $(x)").c_str()));
    EXPECT_FALSE(dir.Exists("a b"));
    EXPECT_FALSE(dir.Exists("it's $(x)"));
    RunShellCommand(Str("rm -- ") + ShellQuote(dir.File("missing").c_str()) + " 2>/dev/null");
}

}  // namespace
