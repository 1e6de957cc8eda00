#include "foundation/ShellQuoting.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// What the shell makes of the word when it is one argument of printf.
std::string ThroughTheShell(const std::string& word)
{
    std::string command = "printf %s " + word;
    std::FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[256];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, got);
    pclose(pipe);
    return out;
}

TEST(ShellQuoting, TheShellGetsTheTextBackLiterally)
{
    for (const char* text : {"plain", "with blank", "it's", "''", "$(echo no)", "a;b|c&d",
                             "`x` \"y\" \\z *", "line\nbreak", "~home", "-n", ""}) {
        EXPECT_EQ(ThroughTheShell(ShellQuoted(text)), text) << text;
        EXPECT_EQ(ThroughTheShell(ShellWord(text)), text) << text;
    }
}

TEST(ShellQuoting, PlainWordsStayAsTheyAre)
{
    EXPECT_EQ(ShellWord("/usr/lib/mosk/Pendra/bin/kiln_da"), "/usr/lib/mosk/Pendra/bin/kiln_da");
    EXPECT_EQ(ShellWord("host-1.example.org:1e-07,a=b@c%d+e"), "host-1.example.org:1e-07,a=b@c%d+e");
    EXPECT_EQ(ShellWord("a b"), "'a b'");
    EXPECT_EQ(ShellWord(""), "''");
}

}  // namespace
