// Shell commands that remove files. File names are quoted so that blanks or
// shell characters in a path are taken literally and run nothing.
#pragma once

#include "foundation/Str.h"

// The text in single quotes; each single quote inside becomes '\''.
Str ShellQuote(const Str& text);

// Runs the command with the shell and ignores its status: a file that is
// already gone is the usual case, not an error.
void RunShellCommand(const Str& command);
