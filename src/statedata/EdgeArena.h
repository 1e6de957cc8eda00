// EdgeArena: the storage of all edges of the graph markings. The edges of
// one marking form a run of adjacent records, oldest first. Generation adds
// the edges of one marking after another, so a marking's run nearly always
// ends where the arena's free room begins and grows in place; a run that
// does not is copied there first (the old copy is left as it is: only
// markings built out of that order, in tests, leave such gaps). The arena
// is freed as a whole, with the graph; its chunks are parkable pages
// (ParkablePages.h).
#pragma once

#include <cstdint>

#include "statedata/Stt.h"

namespace EdgeArena {

// Appends e to the run (oldest, count), moving the run when needed.
void Append(stt*& oldest, std::uint32_t& count, const stt& e);
// Frees every run.
void Release();

}  // namespace EdgeArena
