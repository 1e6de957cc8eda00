// Quoting for the POSIX shell. Paths and names come from the command line,
// the environment and the per-user file; wherever a shell (a local one, or
// the remote shell on another host) reads them, they must reach the command
// literally and run nothing, whatever characters they hold.
#pragma once

#include <string>

// The text in single quotes; each single quote inside becomes '\''.
std::string ShellQuoted(const std::string& text);

// The text itself when the shell reads it as one literal word (letters,
// digits and "_./:,+=@%-" only), else ShellQuoted(text).
std::string ShellWord(const std::string& text);
