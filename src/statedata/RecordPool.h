// RecordPool: a free-list allocator for the millions of small fixed-size
// records of the graph (state transitions). Blocks are carved from large
// chunks; all chunks go back to the system when the last record is freed.
// Builds with the address sanitizer fall back to plain allocation so that
// misuse of a record is still caught.
#pragma once

#include <cstddef>

class RecordPool {
public:
    // Records are padded to a multiple of alignment, the strictest by default.
    explicit constexpr RecordPool(std::size_t recordSize,
                                  std::size_t alignment = alignof(std::max_align_t))
        : size(Round(recordSize, alignment))
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
    std::size_t live = 0;
    std::size_t nextChunkRecords = 256;
    FreeRecord* free = nullptr;
    Chunk* chunks = nullptr;
};
