// The cache of flat forms' codes, see FlatCodeCache.h.
#include "statedata/FlatCodeCache.h"

#include <cstring>

namespace {

// A slot larger than this many words is not worth its memory: the flat
// form and the ata would take longer to compare and copy than to code.
constexpr std::size_t kMostSlotWords = 32;

std::size_t WordsFor(std::size_t bytes)
{
    return (bytes + 7) / 8;
}

// `h` continued over `n` (even) bytes at `data`: one multiplication per
// eight bytes, mixed once at the end (Finish), since only the slot and the
// tag are taken from it.
std::uint64_t Mix(std::uint64_t h, const std::uint8_t* data, std::size_t n)
{
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, data + i, 8);
        h = (h ^ w) * 0xBF58476D1CE4E5B9ull;
    }
    for (; i < n; i += 2) {
        std::uint16_t w;
        std::memcpy(&w, data + i, 2);
        h = (h ^ w) * 0xBF58476D1CE4E5B9ull;
    }
    return h;
}

std::uint64_t Finish(std::uint64_t h)
{
    h ^= h >> 32;
    h *= 0x94D049BB133111EBull;
    return h ^ (h >> 29);
}

}  // namespace

FlatCodeCache::FlatCodeCache(const FlatLayout& l, std::size_t ataEntries, unsigned slotBits)
    : layout(l),
      flatBytes(2 * l.Words()),
      ataBytes(2 * ataEntries),
      flatWords(WordsFor(flatBytes)),
      ataWords(WordsFor(ataBytes))
{
    const std::size_t words = 2 + flatWords + ataWords + kCodeWords;
    if (layout.Places().empty() || words > kMostSlotWords) return;
    slotWords = words;
    mask = (std::size_t{1} << slotBits) - 1;
    slots.assign(slotWords << slotBits, 0);
}

const std::uint8_t* FlatCodeCache::Fresh(MarkingCode& code, const std::uint16_t* flat, const short* ata,
                                         std::uint64_t& hash) const
{
    const std::uint8_t* fresh = code.EncodeFlat(flat, layout, ata);
    hash = CodeHash(fresh);
    return fresh;
}

const std::uint8_t* FlatCodeCache::Encode(MarkingCode& code, const std::uint16_t* flat, const short* ata,
                                          std::uint64_t& hash)
{
    if (slots.empty()) return Fresh(code, flat, ata, hash);
    const auto* flatAt = reinterpret_cast<const std::uint8_t*>(flat);
    const auto* ataAt = reinterpret_cast<const std::uint8_t*>(ata);
    // Bit 1 keeps a key from being 0; bit 0 tells whether there is an ata.
    std::uint64_t key = Mix(0x9E3779B97F4A7C15ull, flatAt, flatBytes);
    if (ata) key = Mix(key, ataAt, ataBytes);
    key = (Finish(key) & ~std::uint64_t{3}) | 2 | std::uint64_t{ata != nullptr};
    std::uint64_t* slot = slots.data() + (static_cast<std::size_t>(key >> 32) & mask) * slotWords;
    auto* slotFlat = reinterpret_cast<std::uint8_t*>(slot + 2);
    std::uint8_t* slotAta = slotFlat + 8 * flatWords;
    std::uint8_t* slotCode = slotAta + 8 * ataWords;
    if (slot[0] == key && std::memcmp(slotFlat, flatAt, flatBytes) == 0 &&
        (!ata || std::memcmp(slotAta, ataAt, ataBytes) == 0)) {
        hash = slot[1];
        return code.Copy(slotCode);
    }
    const std::uint8_t* fresh = Fresh(code, flat, ata, hash);
    const std::size_t size = CodeSize(fresh);
    if (size > 8 * kCodeWords) return fresh;
    slot[0] = key;
    slot[1] = hash;
    std::memcpy(slotFlat, flatAt, flatBytes);
    if (ata) std::memcpy(slotAta, ataAt, ataBytes);
    std::memcpy(slotCode, fresh, size);
    return fresh;
}
