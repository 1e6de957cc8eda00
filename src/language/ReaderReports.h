// The fatal reports of the description reader. Both name the line of the
// description being read, the section and the last comment, so that the user
// finds the place in the text; neither returns.
#pragma once

#include "foundation/Str.h"

// A lexical error: the offending token text is the current one of the
// scanner. Exit status -5.
[[noreturn]] void LexError(const char* msg);

// A grammatical or registration error, with the offending name when there
// is one. Exit status -6.
[[noreturn]] void YaccError(const char* msg, const Str* name = nullptr);
