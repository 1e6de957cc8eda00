// Free-list pool of fixed-size records, see RecordPool.h.
#include "foundation/RecordPool.h"

#include <new>

#include "foundation/ChunkList.h"

#if defined(__SANITIZE_ADDRESS__)
#define MOSK_POOL_BYPASS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MOSK_POOL_BYPASS 1
#endif
#endif

namespace {
// Chunks grow geometrically up to this many records, so that small graphs stay
// small and large ones need few chunks.
constexpr std::size_t kMaxChunkRecords = 1u << 16;
constexpr std::size_t kChunkHeader = alignof(std::max_align_t);
}  // namespace

void* RecordPool::Allocate()
{
    ++live;
#ifdef MOSK_POOL_BYPASS
    return ::operator new(size);
#else
    if (!free) Grow();
    FreeRecord* r = free;
    free = r->next;
    return r;
#endif
}

void RecordPool::Release(void* record)
{
    if (!record) return;
    --live;
#ifdef MOSK_POOL_BYPASS
    ::operator delete(record);
#else
    FreeRecord* r = static_cast<FreeRecord*>(record);
    r->next = free;
    free = r;
    if (live == 0 && !keep && chunks->next) KeepFirstChunk();
#endif
}

void RecordPool::Grow()
{
    std::size_t n = nextChunkRecords;
    if (nextChunkRecords < kMaxChunkRecords) nextChunkRecords *= 2;
    char* raw = static_cast<char*>(::operator new(kChunkHeader + n * size));
    Chunk* c = reinterpret_cast<Chunk*>(raw);
    c->next = chunks;
    chunks = c;
    FreeAll(c, n);
}

void RecordPool::FreeAll(Chunk* c, std::size_t records)
{
    char* first = reinterpret_cast<char*>(c) + kChunkHeader;
    for (std::size_t i = records; i-- > 0;) {
        FreeRecord* r = reinterpret_cast<FreeRecord*>(first + i * size);
        r->next = free;
        free = r;
    }
}

void RecordPool::KeepFirstChunk()
{
    Chunk* first = chunks;
    Chunk* beforeFirst = nullptr;
    while (first->next) {
        beforeFirst = first;
        first = first->next;
    }
    beforeFirst->next = nullptr;
    FreeChunkList(chunks);
    chunks = first;
    free = nullptr;
    FreeAll(first, kFirstChunkRecords);
    nextChunkRecords = 2 * kFirstChunkRecords;
}
