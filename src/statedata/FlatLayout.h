// The layout of a marking's flat form, an array of 16-bit counts: place by
// place, a word for its total and one for each of its colour slots. A place
// without slots has a word for its total too, and is never marked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class FlatLayout {
public:
    // A place with slots: its number, the word of its total, its slots.
    struct Place {
        std::uint32_t word;
        short number;
        std::uint16_t slots;
    };

    FlatLayout() = default;
    // The layout of places with slots[place] colour slots each.
    explicit FlatLayout(const std::vector<std::uint16_t>& slots)
    {
        for (std::size_t i = 0; i < slots.size(); ++i) {
            placeWords.push_back(static_cast<std::uint32_t>(words));
            placeSlots.push_back(slots[i]);
            if (slots[i] != 0)
                places.push_back(Place{static_cast<std::uint32_t>(words), static_cast<short>(i), slots[i]});
            words += 1 + std::size_t{slots[i]};
            allPlain = allPlain && slots[i] == 1;
        }
    }

    // The places with slots, ascending.
    const std::vector<Place>& Places() const { return places; }
    std::size_t Words() const { return words; }
    // Every place by number: the word of its total, and its slots.
    std::size_t PlaceCount() const { return placeWords.size(); }
    std::uint32_t Word(std::size_t place) const { return placeWords[place]; }
    std::uint16_t Slots(std::size_t place) const { return placeSlots[place]; }
    // Whether every place has one slot: place i's total is word 2i, its
    // slot word 2i + 1.
    bool AllPlain() const { return allPlain; }

private:
    std::vector<Place> places;
    std::vector<std::uint32_t> placeWords;
    std::vector<std::uint16_t> placeSlots;
    std::size_t words = 0;
    bool allPlain = true;
};
