// An open-addressing set of block addresses, filled from the sanitizer's
// allocation hooks. It allocates nothing itself: the hooks run inside the
// allocator.
#include "AllocationTracker.h"

#include <sanitizer/allocator_interface.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Room for the blocks of the largest read the reader's limits allow (a
// million cells copied from definitions, each copy made twice).
constexpr int kSlotBits = 23;
constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
constexpr std::uintptr_t kEmpty = 0;
constexpr std::uintptr_t kRemoved = 1;

std::uintptr_t slots[kSlots];
std::size_t used[kSlots / 2];  // the slots written since Start, to clear them
std::size_t usedCount = 0;
bool tracking = false;

std::size_t Home(std::uintptr_t p)
{
    return ((p >> 4) * 0x9E3779B97F4A7C15ull) >> (64 - kSlotBits);
}

void Record(const volatile void* block, std::size_t)
{
    if (!tracking || !block) return;
    if (usedCount == kSlots / 2) {
        std::fputs("allocation tracker full: raise kSlots\n", stderr);
        std::abort();
    }
    auto p = reinterpret_cast<std::uintptr_t>(block);
    std::size_t i = Home(p);
    while (slots[i] != kEmpty && slots[i] != kRemoved) i = (i + 1) & (kSlots - 1);
    if (slots[i] == kEmpty) used[usedCount++] = i;
    slots[i] = p;
}

void Forget(const volatile void* block)
{
    if (!tracking || !block) return;
    auto p = reinterpret_cast<std::uintptr_t>(block);
    for (std::size_t i = Home(p); slots[i] != kEmpty; i = (i + 1) & (kSlots - 1))
        if (slots[i] == p) {
            slots[i] = kRemoved;
            return;
        }
}

void Clear()
{
    for (std::size_t k = 0; k < usedCount; ++k) slots[used[k]] = kEmpty;
    usedCount = 0;
}

}  // namespace

namespace AllocationTracker {

void Install()
{
    __sanitizer_install_malloc_and_free_hooks(Record, Forget);
}

void Start()
{
    Clear();
    tracking = true;
}

void StopAndRelease()
{
    tracking = false;
    for (std::size_t k = 0; k < usedCount; ++k) {
        std::uintptr_t p = slots[used[k]];
        if (p != kEmpty && p != kRemoved) std::free(reinterpret_cast<void*>(p));
    }
    Clear();
}

void StopAndForget()
{
    tracking = false;
    Clear();
}

}  // namespace AllocationTracker
