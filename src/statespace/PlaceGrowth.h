// Which places of the net can show that it grows without bound. A marking
// that holds at least the tokens of an earlier marking on the path that
// produced it, and more in some places, proves the net unbounded when the
// firings of that path can be repeated from it: true of a net whose enabling
// only grows with the marking. Capacities, guards, inscriptions that read a
// marking, the priority of immediate transitions and the choice among the
// bindings of a single-server transition break that, each for the places it
// reads; growth in such a place is only a hint.
#pragma once

#include <vector>

enum class PlaceGrowth : unsigned char {
    Capped,   // a capacity below the largest quantity, or one that reads a marking
    Free,     // growth proves the net unbounded
    Watched,  // read by a guard, an inscription, a capacity or an immediate transition
};

// The kind of every place (by place number) of the net of the generation.
std::vector<PlaceGrowth> ClassifyPlaces();
