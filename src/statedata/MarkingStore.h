// MarkingStore: the store of the tangible markings (MHash). It keeps one
// copy of every marking: the markings themselves in blocks of 2^16 (their
// ids, see MarkingIds), their codes packed in an arena, and an index from
// the hash of a code to its marking, for interning. The index serves only
// the generation and is freed after it. The blocks, the codes and the
// edges are parkable pages (ParkablePages.h).
//
// The store's buckets (key modulo the bucket count, each a search tree kept
// shallow by restructuring) only show in the distribution listing; nothing
// else depends on them. So they are not kept: the listing builds them by
// storing the markings again, in the order they came, into a Hash of
// references, which gives the very trees the store would have grown.
#pragma once

#include <cstdint>
#include <vector>

#include "statedata/BlockArena.h"
#include "statedata/HashProgress.h"
#include "statedata/HugePageAllocator.h"
#include "statedata/Marking.h"

// A stored marking as an element of the bucket trees of the listing.
struct MarkingRef {
    const Marking* marking;
    unsigned key;
    unsigned GetKey() const { return key; }
    int Comp(const MarkingRef& o) const
    {
        if (key != o.key) return key < o.key ? -1 : 1;
        return marking->Comp(*o.marking);
    }
};

class MarkingStore {
public:
    MarkingStore() = default;
    MarkingStore(const MarkingStore&) = delete;
    MarkingStore& operator=(const MarkingStore&) = delete;
    ~MarkingStore() { Clear(); }

    // Releases everything stored and starts empty with `buckets` buckets
    // for the listing and the given progress display; 0 buckets does
    // nothing.
    void CreateHash(unsigned buckets, Mode mode);

    // Interns the marking with this code (hash: CodeHash of it): answers
    // the stored marking with found = true, or stores a new one, counts it
    // in the progress display and answers it with found = false.
    Marking* Save(const std::uint8_t* code, std::uint64_t hash, bool& found);
    // Save without the progress display, for a caller that shows the
    // progress itself (ShowProgress), in the order it wants it seen.
    Marking* SaveUnshown(const std::uint8_t* code, std::uint64_t hash, bool& found)
    {
        return &Stored(Intern(code, hash, found));
    }
    // SaveUnshown answering the marking's number: a marking found is not
    // read at all, since the index leads to its code.
    unsigned Intern(const std::uint8_t* code, std::uint64_t hash, bool& found);
    void ShowProgress(unsigned count) { progress.Counted(count); }
    // Warms the caches for a later Save of this code (hash: CodeHash of
    // it), in two stages, the second reading what the first fetched: 0 the
    // index slot, 1 the stored code of the first slot whose tag matches.
    void Prefetch(const std::uint8_t* code, std::uint64_t hash, int stage) const;

    unsigned GetCounter() const { return counter; }
    unsigned GetSize() const { return buckets; }
    // The k-th marking stored (0-based).
    Marking& Stored(unsigned k) const { return blocks[k >> kBlockBits][k & (kBlockSize - 1)]; }
    // The id of the k-th marking stored (its Id()), without reading it.
    std::uint32_t IdOf(unsigned k) const { return blockIds[k >> kBlockBits] + (k & (kBlockSize - 1)); }

    // Frees the index: the store is not searched after the generation.
    void ReleaseIndex();
    void ShowHashDistribution() const;
    // Frees everything stored, the edges of the graph and their labels.
    void Clear();

private:
    static constexpr unsigned kBlockBits = 16;
    static constexpr unsigned kBlockSize = 1u << kBlockBits;

    // Open addressing with linear probing, at most three quarters full. A
    // slot holds the code's stored copy itself, so that a probe compares
    // codes without reading the markings, and the upper half of the code's
    // hash, which also says where probing starts: the index grows without
    // hashing a code again.
    struct Slot {
        std::uint32_t tag = 0;
        std::uint32_t number = 0;            // of the marking
        const std::uint8_t* code = nullptr;  // null: empty
    };

    // Stores a new marking with a copy of this code; answers the copy.
    const std::uint8_t* Store(const std::uint8_t* code);
    void GrowIndex();

    std::vector<Marking*> blocks;
    std::vector<std::uint32_t> blockIds;  // the id of each block's first marking
    BlockArena codes{1};
    std::vector<Slot, HugePageAllocator<Slot>> index;
    unsigned counter = 0;
    unsigned buckets = 0;
    HashProgress progress;
};
