// Block and single registrations of marking ids, see MarkingIds.h.
#include "statedata/MarkingIds.h"

#include <vector>

#include "foundation/Reporters.h"
#include "statedata/Marking.h"

namespace {

std::vector<Marking*> blocks;
std::vector<std::uint32_t> freeBlocks;
std::vector<Marking*> loose;
std::vector<std::uint32_t> freeLoose;

template <class T>
std::uint32_t Register(std::vector<T>& table, std::vector<std::uint32_t>& unused, T item,
                       std::uint32_t limit)
{
    if (!unused.empty()) {
        std::uint32_t k = unused.back();
        unused.pop_back();
        table[k] = item;
        return k;
    }
    if (table.size() >= limit)
        MErr(__LINE__, "MarkingIds", "more markings than edges can name (2^31)");
    table.push_back(item);
    return static_cast<std::uint32_t>(table.size() - 1);
}

}  // namespace

namespace MarkingIds {

std::uint32_t AddBlock(Marking* block)
{
    return Register(blocks, freeBlocks, block, kLooseBit >> kBlockBits) << kBlockBits;
}

void RemoveBlock(std::uint32_t firstId)
{
    std::uint32_t k = firstId >> kBlockBits;
    blocks[k] = nullptr;
    freeBlocks.push_back(k);
}

std::uint32_t AddLoose(Marking* m)
{
    return Register(loose, freeLoose, m, kLooseBit - 1) | kLooseBit;
}

void RemoveLoose(std::uint32_t id)
{
    std::uint32_t k = id & ~kLooseBit;
    loose[k] = nullptr;
    freeLoose.push_back(k);
}

Marking* Find(std::uint32_t id)
{
    if (id & kLooseBit) return loose[id & ~kLooseBit];
    return blocks[id >> kBlockBits] + (id & (kBlockSize - 1));
}

}  // namespace MarkingIds
