// Runs of edges in large chunks, see EdgeArena.h.
#include "statedata/EdgeArena.h"

#include <cstring>

#include "foundation/ParkablePages.h"
#include "foundation/Reporters.h"

namespace {

struct Chunk {
    Chunk* next;
    std::size_t capacity;  // in edges
};

// 8 MiB chunks, header included: whole pages, see ParkablePages.h.
constexpr std::size_t kChunkEdges = ((std::size_t{1} << 23) - sizeof(Chunk)) / sizeof(stt);

Chunk* chunks = nullptr;

std::size_t ChunkBytes(std::size_t capacity)
{
    return sizeof(Chunk) + capacity * sizeof(stt);
}

stt* Edges(Chunk* c)
{
    return reinterpret_cast<stt*>(c + 1);
}

// A chunk with room for at least `need` edges becomes the newest.
void NewChunk(std::size_t need)
{
    std::size_t capacity = need > kChunkEdges ? 2 * need : kChunkEdges;
    auto* c = static_cast<Chunk*>(ParkablePages::Allocate(ChunkBytes(capacity)));
    c->next = chunks;
    c->capacity = capacity;
    chunks = c;
    EdgeArena::room = {Edges(c), capacity};
}

}  // namespace

namespace EdgeArena {

Room room;

void AppendMoving(stt*& oldest, std::uint32_t& count, const stt& e)
{
    if (count == kMostEdges) MErr(__LINE__, "EdgeArena", "more edges of one marking than can be counted");
    const bool atEnd = count != 0 && oldest + count == room.next;
    if (!(atEnd && room.left > 0)) {
        // The run moves to the free room, with space to grow.
        std::size_t need = std::size_t{count} + 1;
        if (room.left < need) NewChunk(need);
        if (count != 0) std::memcpy(static_cast<void*>(room.next), oldest, count * sizeof(stt));
        oldest = room.next;
        room.next += count;
        room.left -= count;
    }
    *room.next++ = e;
    --room.left;
    ++count;
}

void Release()
{
    while (chunks) {
        Chunk* gone = chunks;
        chunks = gone->next;
        ParkablePages::Free(gone, ChunkBytes(gone->capacity));
    }
    room = {};
}

}  // namespace EdgeArena

