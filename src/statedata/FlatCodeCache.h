// FlatCodeCache: the codes of recently coded flat forms. Most successors an
// exploration finds were found before, from other markings explored a
// little earlier; coding one again costs far more than looking its flat
// form and ata up. A slot keeps one flat form and ata with their code and
// the code's hash; a flat form goes to one slot (by its hash), replacing
// what was there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "statedata/FlatLayout.h"
#include "statedata/MarkingCode.h"

class FlatCodeCache {
public:
    // A cache of 2^slotBits slots for flat forms of `layout` and atas of
    // `ataEntries` entries; none for a layout without places, or where its
    // slots would be large (wide nets): then Encode codes every flat form.
    FlatCodeCache(const FlatLayout& layout, std::size_t ataEntries, unsigned slotBits = 13);

    // The code of the flat form `flat` with `ata` (null for none), written
    // into `code`, and its CodeHash in `hash`.
    const std::uint8_t* Encode(MarkingCode& code, const std::uint16_t* flat, const short* ata,
                               std::uint64_t& hash);

private:
    // The code of (flat, ata) coded now, and its hash.
    const std::uint8_t* Fresh(MarkingCode& code, const std::uint16_t* flat, const short* ata,
                              std::uint64_t& hash) const;

    // A slot, in 64-bit words: the key's hash (0: empty), the code's hash,
    // the flat form (flatWords), the ata (ataWords), the code (kCodeWords;
    // a longer code is not kept).
    static constexpr std::size_t kCodeWords = 4;

    FlatLayout layout;
    std::size_t flatBytes;
    std::size_t ataBytes;
    std::size_t flatWords;
    std::size_t ataWords;
    std::size_t slotWords = 0;
    std::size_t mask = 0;
    std::vector<std::uint64_t> slots;
};
