// BlockArena: append-only storage for blocks of varying size that all live
// until the arena is emptied, such as the vectors and active transition
// arrays of the markings in the store. Blocks are packed back to back in
// large chunks (8-byte aligned) and never freed one by one.
#pragma once

#include <cstddef>

class BlockArena {
public:
    BlockArena() = default;
    BlockArena(const BlockArena&) = delete;
    BlockArena& operator=(const BlockArena&) = delete;
    ~BlockArena() { Release(); }

    void* Allocate(std::size_t bytes);
    // Frees every chunk.
    void Release();

private:
    struct Chunk {
        Chunk* next;
    };
    static constexpr std::size_t kAlign = 8;
    static constexpr std::size_t kChunkBytes = std::size_t{1} << 20;

    Chunk* chunks = nullptr;
    char* room = nullptr;  // the free part of the newest chunk
    std::size_t left = 0;
};
