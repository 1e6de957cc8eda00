// MarkingCode: the contents of a stored marking, its vector and its ata, as
// a short string of bits. Each number is written in the Elias gamma code, so
// that the small numbers that dominate markings (a token or two on a place,
// the next place, the first colour slot, binding 1) take a bit or three:
//   has-ata bit, exact bit, number of non-empty places + 1,
//   per non-empty place: gap to the previous place, number of entries,
//     per entry: gap to the previous slot index, quantity;
//   with the ata: number of non-zero entries + 1, per entry: gap, value.
// "Exact" says that places and slot indices ascend, every place has entries,
// none of them 0, and every place's total is the sum of its entries, as for
// every vector built from place contents. Any other vector is written with
// its numbers whole (shifted to be positive) and its totals. The code is
// canonical: two markings are equal exactly when their codes are, so that
// the store compares codes byte by byte. A code starts with its length in
// bytes (one byte below 128, else two).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "statedata/FlatLayout.h"
#include "statedata/Multiset.h"

// The code of a vector and an ata (null for none), in storage of its own
// that the next Encode overwrites.
class MarkingCode {
public:
    const std::uint8_t* Encode(const Pms& pms, const short* ata);
    // The code of the vector whose flat form is `flat`: the code of the
    // vector read back from it (the places whose totals are not 0, and their
    // slots that are not 0), without building that vector.
    const std::uint8_t* EncodeFlat(const std::uint16_t* flat, const FlatLayout& layout,
                                   const short* ata);
    const std::uint8_t* Data() const { return bytes.data(); }
    std::size_t Size() const { return size; }

private:
    // The code of a vector that is not exact, its numbers written whole.
    template <class Places>
    const std::uint8_t* WriteWhole(const Places& places, const short* ata);
    // EncodeFlat for a layout of plain places only; null where a place is
    // not the commonest kind (see WritePlainPlace).
    const std::uint8_t* EncodePlain(const std::uint16_t* flat, std::size_t places, const short* ata);
    // EncodeFlat for any other layout, or where EncodePlain gives null.
    const std::uint8_t* EncodeMixed(const std::uint16_t* flat, const FlatLayout& layout, const short* ata);

    std::vector<std::uint8_t> bytes;
    std::size_t size = 0;
};

// The whole size of the code at `code`, its length bytes included.
std::size_t CodeSize(const std::uint8_t* code);
// A 64-bit hash of a code.
std::uint64_t CodeHash(const std::uint8_t* code);
bool CodesEqual(const std::uint8_t* a, const std::uint8_t* b);

// A code read back into a vector and an ata, in storage of its own that the
// next Decode reuses.
class DecodedMarking {
public:
    void Decode(const std::uint8_t* code);
    // The same with the vector written as its flat form (`layout`) instead
    // (GetPms then empty); false, the flat form undefined, for a vector that
    // the flat form cannot hold as it is (one not built from place contents,
    // or with a place or a slot outside the layout).
    bool DecodeFlat(const std::uint8_t* code, const FlatLayout& layout, std::uint16_t* flat);
    const Pms& GetPms() const { return pms; }
    // Null when the marking has no ata; no_of_exc_transitions entries.
    const short* GetAta() const { return hasAta ? ata.data() : nullptr; }
    // The indices of the ata's entries that are not 0, ascending (none
    // without an ata).
    const std::vector<unsigned>& ActiveEntries() const { return active; }

private:
    std::vector<std::uint8_t> padded;
    std::vector<MTms> places;
    std::vector<MTmsEntry> entries;
    // Only the entries in `active` are not 0: the next Decode clears those
    // instead of the whole array, which is wide in a wide net.
    std::vector<short> ata;
    std::vector<unsigned> active;
    bool hasAta = false;
    Pms pms{0, nullptr};
};
