// Bump allocation in chunks, see BlockArena.h.
#include "statedata/BlockArena.h"

#include <new>

#include "foundation/ChunkList.h"

void* BlockArena::Allocate(std::size_t bytes)
{
    bytes = (bytes + align - 1) / align * align;
    if (bytes > left) {
        // A block larger than a chunk gets a chunk of its own.
        std::size_t size = bytes > kChunkBytes ? bytes : kChunkBytes;
        auto* c = static_cast<Chunk*>(::operator new(sizeof(Chunk) + size));
        c->next = chunks;
        chunks = c;
        room = reinterpret_cast<char*>(c + 1);
        left = size;
    }
    void* block = room;
    room += bytes;
    left -= bytes;
    return block;
}

void BlockArena::Release()
{
    FreeChunkList(chunks);
    room = nullptr;
    left = 0;
}
