// The store of tangible markings, see MarkingStore.h.
#include "statedata/MarkingStore.h"

#include <cstring>
#include <new>

#include "foundation/ParkablePages.h"
#include "statedata/EdgeArena.h"
#include "statedata/EdgeLabels.h"
#include "statedata/Hash.h"
#include "statedata/MarkingCode.h"
#include "statedata/MarkingIds.h"

void MarkingStore::CreateHash(unsigned n, Mode mode)
{
    if (n == 0) return;
    Clear();
    buckets = n;
    progress.Reset(mode);
}

void MarkingStore::Clear()
{
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        unsigned inBlock = b + 1 < blocks.size() ? kBlockSize : counter - b * kBlockSize;
        for (unsigned k = 0; k < inBlock; ++k) blocks[b][k].~Marking();
        MarkingIds::RemoveBlock(blockIds[b]);
        ParkablePages::Free(blocks[b], kBlockSize * sizeof(Marking));
    }
    blocks.clear();
    blockIds.clear();
    codes.Release();
    decltype(index)().swap(index);
    counter = 0;
    buckets = 0;
    EdgeArena::Release();
    EdgeLabels::Clear();
    progress.Restart();
}

void MarkingStore::ReleaseIndex()
{
    decltype(index)().swap(index);
}

Marking* MarkingStore::Save(const std::uint8_t* code, std::uint64_t hash, bool& found)
{
    unsigned k = Intern(code, hash, found);
    if (!found) progress.Counted(counter);
    return &Stored(k);
}

unsigned MarkingStore::Intern(const std::uint8_t* code, std::uint64_t hash, bool& found)
{
    if (4 * (std::size_t{counter} + 1) > 3 * index.size()) GrowIndex();
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    const std::size_t mask = index.size() - 1;
    std::size_t i = tag & mask;
    for (; index[i].code; i = (i + 1) & mask) {
        if (index[i].tag == tag && CodesEqual(index[i].code, code)) {
            found = true;
            return index[i].number;
        }
    }
    found = false;
    const unsigned k = counter;
    index[i] = Slot{tag, k, Store(code)};
    return k;
}

const std::uint8_t* MarkingStore::Store(const std::uint8_t* code)
{
    unsigned k = counter;
    if ((k & (kBlockSize - 1)) == 0) {
        auto* block = static_cast<Marking*>(ParkablePages::Allocate(kBlockSize * sizeof(Marking)));
        blocks.push_back(block);
        blockIds.push_back(MarkingIds::AddBlock(block));
    }
    std::size_t n = CodeSize(code);
    auto* copy = static_cast<std::uint8_t*>(codes.Allocate(n));
    std::memcpy(copy, code, n);
    new (&Stored(k)) Marking(copy, IdOf(k));
    ++counter;
    return copy;
}

void MarkingStore::GrowIndex()
{
    decltype(index) old(index.size() < 16 ? 32 : 2 * index.size());
    old.swap(index);
    const std::size_t mask = index.size() - 1;
    for (const Slot& slot : old) {
        if (!slot.code) continue;
        std::size_t i = slot.tag & mask;
        while (index[i].code) i = (i + 1) & mask;
        index[i] = slot;
    }
}

void MarkingStore::Prefetch(const std::uint8_t* code, std::uint64_t hash, int stage) const
{
    if (index.empty()) return;
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    const std::size_t mask = index.size() - 1;
    std::size_t i = tag & mask;
    if (stage == 0) {
        // A probe often reads on, and the next slot may lie in the next line.
        __builtin_prefetch(&index[i]);
        __builtin_prefetch(&index[(i + 1) & mask]);
        return;
    }
    for (; index[i].code; i = (i + 1) & mask) {
        if (index[i].tag != tag) continue;
        // Codes are packed back to back: an equal one may end in the next line.
        __builtin_prefetch(index[i].code);
        __builtin_prefetch(index[i].code + CodeSize(code) - 1);
        return;
    }
}

void MarkingStore::ShowHashDistribution() const
{
    Hash<MarkingRef> trees(buckets);
    for (unsigned k = 0; k < counter; ++k) {
        MarkingRef ref{&Stored(k), Stored(k).GetKey()};
        bool found = false;
        trees.SaveUnshown(&ref, found);
    }
    trees.ShowHashDistribution();
}
