#include "run/ShellCommand.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// What the shell makes of the quoted text when it is one argument of printf.
std::string ThroughTheShell(const Str& quoted)
{
    std::string command = std::string("printf %s ") + quoted.GetCChar();
    std::FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[256];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, got);
    pclose(pipe);
    return out;
}

TEST(ShellQuote, TheShellGetsTheTextBackLiterally)
{
    for (const char* text : {"plain", "with blank", "it's", "''", "$(echo no)", "a;b|c&d",
                             "`x` \"y\" \\z *", ""}) {
        EXPECT_EQ(ThroughTheShell(ShellQuote(text)), text) << text;
    }
}

TEST(RunShellCommand, RunsTheCommandAndIgnoresItsFailure)
{
    TempDir dir;
    dir.Write("a b", "");
    RunShellCommand(Str("rm -- ") + ShellQuote(dir.File("a b").c_str()));
    EXPECT_FALSE(dir.Exists("a b"));
    RunShellCommand(Str("rm -- ") + ShellQuote(dir.File("missing").c_str()) + " 2>/dev/null");
}

}  // namespace
