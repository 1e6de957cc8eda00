// Printing of a Str that may hold no text at all (a parameter that was never
// given): it prints as the empty text.
#pragma once

#include "foundation/Str.h"

inline const char* Printable(const Str& s) { return s.IsNull() ? "" : s.GetCChar(); }
