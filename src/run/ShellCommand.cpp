// Single-quote quoting for the POSIX shell and the fire-and-forget command.
#include "run/ShellCommand.h"

#include <cstdlib>

Str ShellQuote(const Str& text)
{
    Str quoted("'");
    if (const char* p = text.GetCChar()) {
        for (; *p; ++p) {
            if (*p == '\'')
                quoted += "'\\''";
            else
                quoted += *p;
        }
    }
    quoted += '\'';
    return quoted;
}

void RunShellCommand(const Str& command)
{
    int status = std::system(command.GetCChar());
    static_cast<void>(status);
}
