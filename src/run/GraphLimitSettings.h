// The limits of the reachability graph for this run: the lines of the
// per-user file that set them, and defaults derived from the machine.
#pragma once

#include <cstdint>

#include "foundation/GraphLimits.h"

// Reads PLENARRC into RunLimits; a limit key with a value it cannot take
// ends the run with the run-control status. Unset limits are derived from
// the memory this process may use (DeriveGraphLimits).
void ReadGraphLimits();

// Fills the limits `limits` leaves unset from `memoryBytes`, the memory the
// process may use (`source` says where that figure comes from): the graph
// may take half of it, the other half stays for the solver and the rest of
// the machine; the markings are limited so that the solver's matrix of that
// many states fits in that half too.
void DeriveGraphLimits(GraphLimits& limits, std::uint64_t memoryBytes, const char* source);
