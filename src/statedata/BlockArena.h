// BlockArena: append-only storage for blocks of varying size that all live
// until the arena is emptied, such as the codes of the markings in the
// store. Blocks are packed back to back in large chunks, each aligned as the
// arena is told (8 bytes unless said otherwise), and never freed one by one.
// The chunks are parkable pages (ParkablePages.h).
#pragma once

#include <cstddef>

class BlockArena {
public:
    explicit BlockArena(std::size_t alignment = 8) : align(alignment) {}
    BlockArena(const BlockArena&) = delete;
    BlockArena& operator=(const BlockArena&) = delete;
    ~BlockArena() { Release(); }

    void* Allocate(std::size_t bytes);
    // Frees every chunk.
    void Release();

private:
    struct Chunk {
        Chunk* next;
        std::size_t bytes;  // with this header
    };
    std::size_t align;
    static constexpr std::size_t kChunkBytes = std::size_t{1} << 20;

    Chunk* chunks = nullptr;
    char* room = nullptr;  // the free part of the newest chunk
    std::size_t left = 0;
};
