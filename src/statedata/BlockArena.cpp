// Bump allocation in chunks, see BlockArena.h.
#include "statedata/BlockArena.h"

#include "foundation/ParkablePages.h"

void* BlockArena::Allocate(std::size_t bytes)
{
    bytes = (bytes + align - 1) / align * align;
    if (bytes > left) {
        // A block larger than a chunk gets a chunk of its own.
        std::size_t size = sizeof(Chunk) + bytes > kChunkBytes ? sizeof(Chunk) + bytes : kChunkBytes;
        auto* c = static_cast<Chunk*>(ParkablePages::Allocate(size));
        c->next = chunks;
        c->bytes = size;
        chunks = c;
        room = reinterpret_cast<char*>(c + 1);
        left = size - sizeof(Chunk);
    }
    void* block = room;
    room += bytes;
    left -= bytes;
    return block;
}

void BlockArena::Release()
{
    while (chunks) {
        Chunk* gone = chunks;
        chunks = gone->next;
        ParkablePages::Free(gone, gone->bytes);
    }
    room = nullptr;
    left = 0;
}
