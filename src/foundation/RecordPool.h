// RecordPool: a free-list allocator for the millions of small fixed-size
// records of the state space (pending markings, queue entries, list
// elements). Blocks are carved from large chunks; when the last record is
// freed, every chunk but the first (the smallest) goes back to the system,
// unless the pool is told to keep them all. The first one stays, so that a
// record taken and given back again and again, as scratch for each
// successor, does not make and free a chunk each time.
// Builds with the address sanitizer fall back to plain allocation so that
// misuse of a record is still caught.
#pragma once

#include <cstddef>

class RecordPool {
public:
    // Records are padded to a multiple of alignment, the strictest by default.
    explicit constexpr RecordPool(std::size_t recordSize,
                                  std::size_t alignment = alignof(std::max_align_t),
                                  bool keepChunks = false)
        : size(Round(recordSize, alignment)), keep(keepChunks)
    {
    }

    void* Allocate();
    void Release(void* record);
    std::size_t Live() const { return live; }

private:
    struct FreeRecord {
        FreeRecord* next;
    };
    struct Chunk {
        Chunk* next;
    };

    static constexpr std::size_t Round(std::size_t n, std::size_t a)
    {
        const std::size_t m = n < sizeof(FreeRecord) ? sizeof(FreeRecord) : n;
        return (m + a - 1) / a * a;
    }
    void Grow();
    void KeepFirstChunk();
    // Puts every record of chunk c (of that many records) on the free list.
    void FreeAll(Chunk* c, std::size_t records);

    std::size_t size;
    bool keep;
    std::size_t live = 0;
    static constexpr std::size_t kFirstChunkRecords = 256;
    std::size_t nextChunkRecords = kFirstChunkRecords;
    FreeRecord* free = nullptr;
    Chunk* chunks = nullptr;
};
