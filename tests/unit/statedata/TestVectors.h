// Helpers of the state-space data tests: marking vectors from literals, and
// a guard that sets the number of exclusive transitions for one test.
#pragma once

#include "statedata/Multiset.h"
#include "statedata/NetCounts.h"

#include <initializer_list>
#include <utility>
#include <vector>

struct PlaceLiteral {
    short place;
    std::vector<std::pair<short, unsigned short>> entries;  // (slot index, quantity)
};

// A one-block vector with the given non-empty places (kinds and totals derived).
inline Pms MakePms(std::initializer_list<PlaceLiteral> places)
{
    int entries = 0;
    for (const PlaceLiteral& p : places) entries += static_cast<int>(p.entries.size());
    Pms pms;
    MTmsEntry* room = alloc_pms(pms, static_cast<int>(places.size()), entries);
    int i = 0;
    for (const PlaceLiteral& p : places) {
        MTms& m = pms.places[i++];
        m = MTms{p.place, static_cast<short>(p.entries.size()), 0, room};
        for (auto [index, quant] : p.entries) {
            *room++ = MTmsEntry{index, quant};
            m.quant += quant;
        }
    }
    return pms;
}

class ExclusiveCount {
public:
    explicit ExclusiveCount(unsigned short n) : saved(no_of_exc_transitions)
    {
        no_of_exc_transitions = n;
    }
    ~ExclusiveCount() { no_of_exc_transitions = saved; }

private:
    unsigned short saved;
};
