// EdgeArena: the storage of all edges of the graph markings. The edges of
// one marking form a run of adjacent records, oldest first. Generation adds
// the edges of one marking after another, so a marking's run nearly always
// ends where the arena's free room begins and grows in place; a run that
// does not is copied there first (the old copy is left as it is: only
// markings built out of that order, in tests, leave such gaps). The arena
// is freed as a whole, with the graph; its chunks are parkable pages
// (ParkablePages.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "statedata/Stt.h"

namespace EdgeArena {

constexpr std::uint32_t kMostEdges = 0xFFFFFFFFu;

// The free part of the newest chunk.
struct Room {
    stt* next = nullptr;
    std::size_t left = 0;
};
extern Room room;

// Append when the run does not end at the free room, or there is none.
void AppendMoving(stt*& oldest, std::uint32_t& count, const stt& e);

// Appends e to the run (oldest, count), moving the run when needed. A
// marking's edges are added one after another, so its run nearly always
// ends at the free room and grows there: that case is inline.
inline void Append(stt*& oldest, std::uint32_t& count, const stt& e)
{
    if (count != 0 && oldest + count == room.next && room.left > 0 && count != kMostEdges) {
        *room.next++ = e;
        --room.left;
        ++count;
        return;
    }
    AppendMoving(oldest, count, e);
}

// Frees every run.
void Release();

}  // namespace EdgeArena
