// The scaled matrix's values as 16-bit codes into a table of its distinct
// values. A Markov chain's probabilities come from a few rates and their
// sums: kanban N=5's 24.5 million entries hold 777 distinct values, FMS
// N=5's 1.1 million 21,359. A sweep reads each entry's column and value from
// memory, so 2 bytes for the value instead of 8 make it read half as much
// (12 -> 6 bytes an entry) and the chain's matrix take half the room; the
// table itself stays in the cache. The arithmetic is the same to the bit.
#pragma once

#include "solution/Relaxation.h"

#include <cstdint>

// The most distinct values a code can tell apart.
constexpr long kMostCodedValues = 1L << 16;

// When s's entries (positions 1 .. s.ia[n]-1) hold at most kMostCodedValues
// distinct values, writes their codes over s.a's own storage, shrinks it to
// them and returns true: s.code (that storage) and s.table are then s's, and
// s.a is null, so that the values and their codes are never held side by
// side. False, with s unchanged, otherwise.
bool code_values(int n, ScaledMatrix& s);
