// RecordPool: a free-list allocator for the millions of small fixed-size
// records of the state space (pending markings, queue entries, list
// elements). Blocks are carved from large chunks; all chunks go back to the
// system when the last record is freed, unless the pool is told to keep
// them (for records that come and go one at a time, where giving the chunk
// back and taking it again would cost more than the record).
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
    void ReleaseChunks();

    std::size_t size;
    bool keep;
    std::size_t live = 0;
    std::size_t nextChunkRecords = 256;
    FreeRecord* free = nullptr;
    Chunk* chunks = nullptr;
};
