// A marking vector of elementary places given by their token counts, for
// tests that compare firing or enabling on counts with the same on the
// places.
#pragma once

#include <vector>

#include "statedata/Multiset.h"

// The vector of elementary places holding `counts` (place i holds counts[i]).
struct CountVector {
    std::vector<MTms> places;
    std::vector<MTmsEntry> entries;
    Pms pms{0, nullptr};

    explicit CountVector(const std::vector<unsigned short>& counts)
    {
        entries.reserve(counts.size());
        for (std::size_t i = 0; i < counts.size(); ++i) {
            if (counts[i] == 0) continue;
            entries.push_back(MTmsEntry{0, counts[i]});
            places.push_back(MTms{static_cast<short>(i), 1, counts[i], &entries.back()});
        }
        pms = Pms{static_cast<short>(places.size()), places.empty() ? nullptr : places.data()};
    }
};
