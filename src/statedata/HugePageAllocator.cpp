// Arrays offered for huge pages, see HugePageAllocator.h.
#include "statedata/HugePageAllocator.h"

#include <new>

#include <sys/mman.h>

namespace {

constexpr std::size_t kHugePage = std::size_t{1} << 21;

}  // namespace

void* AllocateHugePages(std::size_t bytes)
{
    if (bytes < kHugePage) return ::operator new(bytes);
    void* at = ::operator new(bytes, std::align_val_t{kHugePage});
    // Before the first touch, which is when the kernel picks the pages. Only
    // a hint: refused where transparent huge pages are off.
    madvise(at, bytes, MADV_HUGEPAGE);
    return at;
}

void FreeHugePages(void* at, std::size_t bytes)
{
    if (bytes < kHugePage)
        ::operator delete(at);
    else
        ::operator delete(at, std::align_val_t{kHugePage});
}
