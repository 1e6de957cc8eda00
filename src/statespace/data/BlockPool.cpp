// Size-classed block pools, see BlockPool.h.
#include "statespace/data/BlockPool.h"

#include <array>
#include <new>
#include <utility>

#include "statespace/data/RecordPool.h"

namespace {

// A header word keeps the blocks 8-aligned, enough for every block kept here.
constexpr std::size_t kHeader = 8;
constexpr std::size_t kGrain = 16;
constexpr std::size_t kClasses = 32;  // records of 16 to 512 bytes
constexpr std::size_t kPlain = 0;     // class of blocks from the general allocator

template <std::size_t... I>
constexpr std::array<RecordPool, sizeof...(I)> MakePools(std::index_sequence<I...>)
{
    return {RecordPool((I + 1) * kGrain)...};
}

// Never destroyed: blocks may still be released while other statics are torn
// down at exit.
std::array<RecordPool, kClasses>& Pools()
{
    static auto* pools =
        new std::array<RecordPool, kClasses>(MakePools(std::make_index_sequence<kClasses>{}));
    return *pools;
}

}  // namespace

void* AllocateBlock(std::size_t bytes)
{
    std::size_t c = (bytes + kHeader + kGrain - 1) / kGrain;
    char* raw;
    if (c > kClasses) {
        raw = static_cast<char*>(::operator new(bytes + kHeader));
        c = kPlain;
    } else {
        raw = static_cast<char*>(Pools()[c - 1].Allocate());
    }
    *reinterpret_cast<std::size_t*>(raw) = c;
    return raw + kHeader;
}

void ReleaseBlock(void* block)
{
    if (!block) return;
    char* raw = static_cast<char*>(block) - kHeader;
    std::size_t c = *reinterpret_cast<std::size_t*>(raw);
    if (c == kPlain)
        ::operator delete(raw);
    else
        Pools()[c - 1].Release(raw);
}
