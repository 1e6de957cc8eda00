// BlockPool: free lists by size class for the small blocks of variable size
// that generation makes and frees by the million (marking vectors, active
// transition arrays, the status arrays of enabling sets). The owner of a
// block knows its size and gives it back with the block, so blocks carry no
// header; blocks beyond the largest class, and all blocks in sanitizer
// builds, come from the general allocator.
#pragma once

#include <cstddef>

void* AllocateBlock(std::size_t bytes);
// `bytes` must be the size the block was allocated with. Null is ignored.
void ReleaseBlock(void* block, std::size_t bytes);
