// Generating a test net's graph with the exploration settings of a test,
// which go back to their defaults afterwards.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "TestNet.h"

struct ExplorationSettings {
    bool helper = true;  // the interning thread or the helper process allowed
    std::size_t batch = 256;  // markings per helper batch
    std::chrono::microseconds patience = std::chrono::milliseconds(1);  // least wait for the helper
    bool whenFired = true;  // markings explored as they are stored, where the net allows
};

// The graph, as GraphLines shows it on the places `build` answers, of the
// net that `build` makes in a fresh TestNet.
std::vector<std::string> GenerateGraph(const std::function<std::vector<Place*>(TestNet&)>& build,
                                       const ExplorationSettings& settings);
