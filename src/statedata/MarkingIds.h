// MarkingIds: the numbers by which edges name their target markings. The
// markings of a store are made in blocks of 2^16, each block registered
// here under a block number: a stored marking's id is its block number
// times 2^16 plus its place in the block. Markings made outside a store are
// registered one by one when an edge first leads to them, under ids with
// the top bit set, and unregistered when they are destroyed.
#pragma once

#include <cstdint>

class Marking;

namespace MarkingIds {

constexpr unsigned kBlockBits = 16;
constexpr std::uint32_t kBlockSize = std::uint32_t{1} << kBlockBits;
constexpr std::uint32_t kLooseBit = 0x80000000u;

// Registers a block of kBlockSize markings; answers the id of its first.
std::uint32_t AddBlock(Marking* block);
void RemoveBlock(std::uint32_t firstId);

std::uint32_t AddLoose(Marking* m);
void RemoveLoose(std::uint32_t id);

Marking* Find(std::uint32_t id);

}  // namespace MarkingIds
