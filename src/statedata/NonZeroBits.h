// Bit masks of the entries of an array that are not 0, 64 entries to a
// word (entry i is bit i % 64 of word i / 64), made 16 bytes of entries at
// a time with vector compares. A loop over the entries that are not 0 then
// walks the set bits with count-trailing-zeros instead of testing every
// entry with a branch that the contents decide (and so mispredict), and
// their count, which a marking's code wants before them, is the popcount.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace nonzero_bits {

// Whether the entry of kBytes bytes at p is not 0.
template <int kBytes>
inline bool NonZero(const unsigned char* p)
{
    std::uint32_t entry = 0;
    std::memcpy(&entry, p, kBytes);
    return entry != 0;
}

// Bit j set where entry j of the 16 bytes at p is not 0 (4 entries of 32
// bits, or 8 of 16).
template <int kBytes>
inline unsigned Group(const unsigned char* p)
{
    static_assert(kBytes == 2 || kBytes == 4);
    constexpr unsigned kLanes = 16 / kBytes;
#if defined(__SSE2__)
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i zero = _mm_setzero_si128();
    unsigned zeros;
    if constexpr (kBytes == 4) {
        zeros = static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(v, zero))));
    } else {
        // The lanes of the compare, all ones or none, narrowed to bytes.
        zeros = static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(_mm_cmpeq_epi16(v, zero), zero)));
    }
    return ~zeros & ((1u << kLanes) - 1);
#else
    unsigned bits = 0;
    for (unsigned j = 0; j < kLanes; ++j) bits |= unsigned{NonZero<kBytes>(p + j * kBytes)} << j;
    return bits;
#endif
}

// The same for the 16 entries at p, whose compares are narrowed to bytes
// in order and taken at once.
template <int kBytes>
inline unsigned Sixteen(const unsigned char* p)
{
    static_assert(kBytes == 2 || kBytes == 4);
#if defined(__SSE2__)
    auto load = [p](int k) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k)); };
    const __m128i zero = _mm_setzero_si128();
    __m128i bytes;
    if constexpr (kBytes == 4) {
        const __m128i low = _mm_packs_epi32(_mm_cmpeq_epi32(load(0), zero), _mm_cmpeq_epi32(load(1), zero));
        const __m128i high = _mm_packs_epi32(_mm_cmpeq_epi32(load(2), zero), _mm_cmpeq_epi32(load(3), zero));
        bytes = _mm_packs_epi16(low, high);
    } else {
        bytes = _mm_packs_epi16(_mm_cmpeq_epi16(load(0), zero), _mm_cmpeq_epi16(load(1), zero));
    }
    return ~static_cast<unsigned>(_mm_movemask_epi8(bytes)) & 0xFFFF;
#else
    constexpr unsigned kLanes = 16 / kBytes;
    unsigned bits = 0;
    for (unsigned k = 0; k < kBytes; ++k) bits |= Group<kBytes>(p + 16 * k) << (kLanes * k);
    return bits;
#endif
}

// Whether any of the 64 entries at p is not 0: a wide net's ata is mostly
// zeros (a ring of 30,000 transitions has one entry that is not), passed
// 64 entries at a time in loads the compiler turns into vector ones.
template <int kBytes>
inline bool AnyOf64(const unsigned char* p)
{
    std::uint64_t any = 0;
    for (unsigned k = 0; k < 8 * kBytes; ++k) {
        std::uint64_t eight;
        std::memcpy(&eight, p + 8 * k, 8);
        any |= eight;
    }
    return any != 0;
}

// The number of bits set in x. std::popcount is a call into the runtime
// library where the target has no popcount instruction (the base x86-64):
// the bits are summed in place instead, in pairs, fours and bytes.
inline std::size_t CountOnes(std::uint64_t x)
{
    x -= (x >> 1) & 0x5555555555555555ull;
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<std::size_t>((x * 0x0101010101010101ull) >> 56);
}

}  // namespace nonzero_bits

// The number of words MarkNonZero writes for n entries.
constexpr std::size_t NonZeroWords(std::size_t n) { return (n + 63) / 64; }

// Marks which of the n entries of kBytes bytes (2 or 4) from `entries` are
// not 0 in words[0, NonZeroWords(n)); answers how many are.
template <int kBytes>
inline std::size_t MarkNonZero(const void* entries, std::size_t n, std::uint64_t* words)
{
    using nonzero_bits::AnyOf64;
    using nonzero_bits::Group;
    using nonzero_bits::Sixteen;
    constexpr std::size_t kLanes = 16 / kBytes;
    const auto* bytes = static_cast<const unsigned char*>(entries);
    std::size_t count = 0;
    for (std::size_t base = 0; base < n; base += 64) {
        const std::size_t m = std::min<std::size_t>(64, n - base);
        const unsigned char* p = bytes + base * kBytes;
        std::uint64_t bits = 0;
        if (m == 64 && !AnyOf64<kBytes>(p)) {
            words[base / 64] = 0;
            continue;
        }
        // The last entries in a group that overlaps the one before: the
        // entries in both give the same bits twice.
        if (m >= 16) {
            std::size_t j = 0;
            for (; j + 16 <= m; j += 16) bits |= std::uint64_t{Sixteen<kBytes>(p + j * kBytes)} << j;
            if (j < m) bits |= std::uint64_t{Sixteen<kBytes>(p + (m - 16) * kBytes)} << (m - 16);
        } else if (m >= kLanes) {
            std::size_t j = 0;
            for (; j + kLanes <= m; j += kLanes) bits |= std::uint64_t{Group<kBytes>(p + j * kBytes)} << j;
            if (j < m) bits |= std::uint64_t{Group<kBytes>(p + (m - kLanes) * kBytes)} << (m - kLanes);
        } else {
            for (std::size_t j = 0; j < m; ++j)
                bits |= std::uint64_t{nonzero_bits::NonZero<kBytes>(p + j * kBytes)} << j;
        }
        words[base / 64] = bits;
        count += nonzero_bits::CountOnes(bits);
    }
    return count;
}

// Calls visit(i) for every entry i marked in words[0, count), ascending,
// until it answers false; answers whether it never did.
template <class Visit>
[[gnu::always_inline]] inline bool ForEachMarked(const std::uint64_t* words, std::size_t count, Visit visit)
{
    for (std::size_t k = 0; k < count; ++k)
        for (std::uint64_t bits = words[k]; bits != 0; bits &= bits - 1)
            if (!visit(64 * k + static_cast<std::size_t>(std::countr_zero(bits)))) return false;
    return true;
}
