// EdgeLabels: the delay values that edges carry, each distinct one stored
// once. A graph has tens of millions of edges but, as a rule, a few distinct
// (value, transition, delay type) triples: one rate per transition, a few
// branching probabilities; an edge names its triple by a 32-bit number.
// The index that finds a triple's number is only needed while labels are
// added; it is dropped after the generation and rebuilt when needed again.
#pragma once

#include <cstdint>
#include <vector>

#include "statedata/DelayVal.h"

class EdgeLabels {
public:
    // The number of d's triple, added when new.
    static std::uint32_t Intern(const DelayVal& d);
    static const DelayVal& At(std::uint32_t label) { return labels[label]; }
    static std::size_t Count() { return labels.size(); }

    // Frees the index (the labels stay).
    static void ReleaseIndex();
    // Frees labels and index.
    static void Clear();

private:
    static void Grow();

    static std::vector<DelayVal> labels;
    // Open addressing over label numbers + 1 (0: empty), a power of two at
    // most half full.
    static std::vector<std::uint32_t> index;
};
