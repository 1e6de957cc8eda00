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

namespace {

// A slot keeps the upper half of the hash, which also says where probing
// starts: the index grows without hashing a code again.
constexpr std::uint64_t kTagBits = 0xFFFFFFFF00000000ull;

std::uint64_t SlotOf(std::uint64_t hash, unsigned number)
{
    return (hash & kTagBits) | (std::uint64_t{number} + 1);
}

std::size_t Start(std::uint64_t tagged, std::size_t mask)
{
    return static_cast<std::size_t>(tagged >> 32) & mask;
}

unsigned NumberOf(std::uint64_t slot)
{
    return static_cast<unsigned>(slot & 0xFFFFFFFFu) - 1;
}

}  // namespace

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
    std::vector<std::uint64_t>().swap(index);
    counter = 0;
    buckets = 0;
    EdgeArena::Release();
    EdgeLabels::Clear();
    progress.Restart();
}

void MarkingStore::ReleaseIndex()
{
    std::vector<std::uint64_t>().swap(index);
}

template <class Visit>
void MarkingStore::Probe(std::uint64_t hash, Visit visit) const
{
    if (index.empty()) return;
    std::size_t mask = index.size() - 1;
    const std::uint64_t tag = hash & kTagBits;
    for (std::size_t i = Start(hash, mask);; i = (i + 1) & mask) {
        std::uint64_t slot = index[i];
        if (slot == 0) return;
        if ((slot & kTagBits) == tag && visit(Stored(NumberOf(slot)))) return;
    }
}

Marking* MarkingStore::SaveUnshown(const std::uint8_t* code, std::uint64_t hash, bool& found)
{
    showProgress = false;
    Marking* stored = Save(code, hash, found);
    showProgress = true;
    return stored;
}

Marking* MarkingStore::Save(const std::uint8_t* code, std::uint64_t hash, bool& found)
{
    Marking* stored = nullptr;
    Probe(hash, [&](Marking& m) {
        if (!CodesEqual(m.GetCode(), code)) return false;
        stored = &m;
        return true;
    });
    found = stored != nullptr;
    if (found) return stored;
    if (4 * (std::size_t{counter} + 1) > 3 * index.size()) GrowIndex();
    std::size_t mask = index.size() - 1;
    std::size_t i = Start(hash, mask);
    while (index[i]) i = (i + 1) & mask;
    index[i] = SlotOf(hash, counter);
    stored = Store(code);
    if (showProgress) progress.Counted(counter);
    return stored;
}

Marking* MarkingStore::Store(const std::uint8_t* code)
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
    Marking* slot = &Stored(k);
    std::uint32_t id = blockIds.back() + (k & (kBlockSize - 1));
    new (slot) Marking(copy, id);
    ++counter;
    return slot;
}

void MarkingStore::GrowIndex()
{
    std::vector<std::uint64_t> old(index.size() < 16 ? 32 : 2 * index.size(), 0);
    old.swap(index);
    std::size_t mask = index.size() - 1;
    for (std::uint64_t slot : old) {
        if (!slot) continue;
        std::size_t i = Start(slot, mask);
        while (index[i]) i = (i + 1) & mask;
        index[i] = slot;
    }
}

void MarkingStore::Prefetch(std::uint64_t hash, int stage) const
{
    if (stage == 0) {
        if (!index.empty()) __builtin_prefetch(&index[Start(hash, index.size() - 1)]);
        return;
    }
    Probe(hash, [stage](const Marking& m) {
        __builtin_prefetch(stage == 1 ? static_cast<const void*>(&m) : m.GetCode());
        return true;
    });
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
