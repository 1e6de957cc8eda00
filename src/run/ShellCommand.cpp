// Quoted file names for the shell and the fire-and-forget command.
#include "run/ShellCommand.h"

#include <cstdlib>

#include "foundation/ShellQuoting.h"

Str ShellQuote(const Str& text)
{
    return Str(ShellQuoted(text.GetCChar() ? text.GetCChar() : "").c_str());
}

void RunShellCommand(const Str& command)
{
    int status = std::system(command.GetCChar());
    static_cast<void>(status);
}
