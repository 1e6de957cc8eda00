// HugePageAllocator: an allocator for large arrays read at random places,
// such as the marking store's index. An array of 2 MiB or more starts on a
// 2 MiB boundary and is offered to the kernel for transparent huge pages:
// one address translation then covers 2 MiB of it instead of 4 KiB, and a
// probe that misses the data caches seldom misses the translation cache as
// well. Smaller arrays get ordinary memory, and so does every array where
// the kernel keeps huge pages off.
#pragma once

#include <cstddef>

void* AllocateHugePages(std::size_t bytes);
void FreeHugePages(void* at, std::size_t bytes);

template <class T>
struct HugePageAllocator {
    using value_type = T;

    HugePageAllocator() = default;
    template <class U>
    HugePageAllocator(const HugePageAllocator<U>&) {}

    T* allocate(std::size_t n) { return static_cast<T*>(AllocateHugePages(n * sizeof(T))); }
    void deallocate(T* at, std::size_t n) { FreeHugePages(at, n * sizeof(T)); }

    template <class U>
    bool operator==(const HugePageAllocator<U>&) const
    {
        return true;
    }
};
