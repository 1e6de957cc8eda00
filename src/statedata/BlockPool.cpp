// Size-classed block pools, see BlockPool.h.
#include "statedata/BlockPool.h"

#include <array>
#include <new>
#include <utility>

#include "foundation/RecordPool.h"

#if defined(__SANITIZE_ADDRESS__)
#define MOSK_BLOCKS_BYPASS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MOSK_BLOCKS_BYPASS 1
#endif
#endif

namespace {

constexpr std::size_t kGrain = 16;
constexpr std::size_t kClasses = 32;  // records of 16 to 512 bytes

template <std::size_t... I>
constexpr std::array<RecordPool, sizeof...(I)> MakePools(std::index_sequence<I...>)
{
    return {RecordPool((I + 1) * kGrain)...};
}

// Never destroyed: blocks may still be released while other statics are torn
// down at exit.
[[maybe_unused]] std::array<RecordPool, kClasses>& Pools()
{
    static auto* pools =
        new std::array<RecordPool, kClasses>(MakePools(std::make_index_sequence<kClasses>{}));
    return *pools;
}

[[maybe_unused]] std::size_t ClassOf(std::size_t bytes)
{
    return (bytes + kGrain - 1) / kGrain;
}

}  // namespace

// Sanitizer builds allocate every block on its own and free it with its
// size, so that a size that does not match the allocation is reported.
void* AllocateBlock(std::size_t bytes)
{
#ifndef MOSK_BLOCKS_BYPASS
    if (std::size_t c = ClassOf(bytes); c > 0 && c <= kClasses) return Pools()[c - 1].Allocate();
#endif
    return ::operator new(bytes);
}

void ReleaseBlock(void* block, [[maybe_unused]] std::size_t bytes)
{
    if (!block) return;
#ifndef MOSK_BLOCKS_BYPASS
    if (std::size_t c = ClassOf(bytes); c > 0 && c <= kClasses) {
        Pools()[c - 1].Release(block);
        return;
    }
#endif
    ::operator delete(block);  // unsized: not every compiler enables sized deallocation
}
