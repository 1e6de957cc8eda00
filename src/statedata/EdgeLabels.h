// EdgeLabels: the delay values that edges carry, each distinct one stored
// once. A graph has tens of millions of edges but, as a rule, a few distinct
// (value, transition, delay type) triples: one rate per transition, a few
// branching probabilities; an edge names its triple by a 32-bit number.
// The index that finds a triple's number is only needed while labels are
// added; it is dropped after the generation and rebuilt when needed again.
#pragma once

#include <bit>
#include <cstdint>
#include <vector>

#include "statedata/DelayVal.h"

class EdgeLabels {
public:
    // The number of d's triple, added when new. Nearly every edge carries a
    // triple met before, which its first probe finds: that case is inline,
    // the rest (collisions, new triples, a missing index) goes to Find.
    static std::uint32_t Intern(const DelayVal& d)
    {
        if (!index.empty()) {
            std::uint32_t slot = index[HashOf(d) & (index.size() - 1)];
            if (slot != 0 && Same(labels[slot - 1], d)) return slot - 1;
        }
        return Find(d);
    }
    static const DelayVal& At(std::uint32_t label) { return labels[label]; }
    static std::size_t Count() { return labels.size(); }

    // Frees the index (the labels stay).
    static void ReleaseIndex();
    // Frees labels and index.
    static void Clear();

private:
    static std::uint64_t HashOf(const DelayVal& d)
    {
        std::uint64_t h = std::bit_cast<std::uint64_t>(d.GetDelayVal());
        h ^= (static_cast<std::uint64_t>(static_cast<std::uint16_t>(d.GetTransNo())) << 4 |
              static_cast<std::uint64_t>(d.GetDelayType())) *
             0x9E3779B97F4A7C15ull;
        h ^= h >> 29;
        h *= 0xBF58476D1CE4E5B9ull;
        return h ^ (h >> 32);
    }
    // Equal value, type and transition number (DelayVal's own == leaves the
    // transition out).
    static bool Same(const DelayVal& a, const DelayVal& b)
    {
        return std::bit_cast<std::uint64_t>(a.GetDelayVal()) ==
                   std::bit_cast<std::uint64_t>(b.GetDelayVal()) &&
               a.GetDelayType() == b.GetDelayType() && a.GetTransNo() == b.GetTransNo();
    }
    // Intern's full probe.
    static std::uint32_t Find(const DelayVal& d);
    static void Grow();

    static std::vector<DelayVal> labels;
    // Open addressing over label numbers + 1 (0: empty), a power of two at
    // most half full.
    static std::vector<std::uint32_t> index;
};
