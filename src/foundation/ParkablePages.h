// ParkablePages: the large chunks of the state space's arenas (markings,
// their codes, the edges) come from here, in whole pages of their own, so
// that they can leave the process while the solver needs the memory.
//
// The graph is not read while the linear system is solved, but it is read
// again afterwards (throughputs, place measures, the next pass's rates), so
// it cannot be freed. Park writes every chunk into an unnamed temporary file
// and maps the chunk's address range from that file: the contents and every
// pointer into them stay as they were, the pages leave the resident memory,
// and the kernel brings back from the page cache (or the disk, if it needed
// the room) only the pages that are touched later. Chunks parked before
// only drop their pages again. A chunk that cannot be written or mapped
// stays in memory: parking saves memory but never loses contents.
#pragma once

#include <cstddef>
#include <string>

namespace ParkablePages {

// A zero-filled chunk of at least `bytes` bytes, starting on a page; throws
// std::bad_alloc when the system refuses.
void* Allocate(std::size_t bytes);
// Gives back a chunk of Allocate with the size asked for.
void Free(void* chunk, std::size_t bytes);

// Bytes in all chunks handed out and not freed.
std::size_t Bytes();

// Parks every chunk in a temporary file in `directory` (which should lie on
// a disk: a file in memory would save nothing). Answers the bytes that left
// the resident memory, 0 when no file could be made.
std::size_t Park(const std::string& directory);

}  // namespace ParkablePages
