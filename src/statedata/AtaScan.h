// Finding the active entries of an ata. A wide net's ata is mostly zeros
// (a ring of 30,000 transitions has one entry that is not), and it is looked
// through for every marking: zeros are passed 32 entries (64 bytes) at a
// time, in loads the compiler turns into vector ones.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// Whether one of the 32 entries from `block` on is not 0.
inline bool AnyActiveIn32(const short* block)
{
    std::uint64_t any = 0;
    for (unsigned w = 0; w < 8; ++w) {
        std::uint64_t four;
        std::memcpy(&four, block + 4 * w, sizeof four);
        any |= four;
    }
    return any != 0;
}

// Writes the indices of the entries of ata[0, n) that are not 0 to
// `indices` (room for n), ascending; answers how many there are.
inline std::size_t ActiveIndices(const short* ata, unsigned n, unsigned* indices)
{
    std::size_t count = 0;
    unsigned i = 0;
    for (; i + 32 <= n; i += 32) {
        if (!AnyActiveIn32(ata + i)) continue;
        for (unsigned j = i; j < i + 32; ++j) {
            indices[count] = j;
            count += ata[j] != 0;
        }
    }
#pragma GCC unroll 4
    for (; i < n; ++i) {
        indices[count] = i;
        count += ata[i] != 0;
    }
    return count;
}

// Whether ata[0, n) has more than `count` entries that are not 0.
inline bool MoreActiveThan(const short* ata, unsigned n, std::size_t count)
{
    std::size_t seen = 0;
    unsigned i = 0;
    for (; i + 32 <= n; i += 32) {
        if (!AnyActiveIn32(ata + i)) continue;
        for (unsigned j = i; j < i + 32; ++j) seen += ata[j] != 0;
        if (seen > count) return true;
    }
    for (; i < n; ++i)
        if (ata[i] != 0 && ++seen > count) return true;
    return false;
}
