// BlockPool: free lists by size class for the small blocks of variable size
// that generation makes and frees by the million (marking vectors, active
// transition arrays, the status arrays of enabling sets). A block carries
// its class in a header word; blocks beyond the largest class, and all
// blocks in sanitizer builds, come from the general allocator.
#pragma once

#include <cstddef>

void* AllocateBlock(std::size_t bytes);
// Null is ignored.
void ReleaseBlock(void* block);
