// Reader of the data stream that ekiln receives for one general subordinated
// chain: the class number, the transition's name, the member records up to a
// 0, then one Q row and one firing ("delta") row per member, each carrying
// its state number. A Q row's count is the number of its exponential and
// preempting moves, and a (rate, target) pair is sent for each of them.
#pragma once

#include <string>

#include "workers/StreamDecoder.h"
#include "workers/SubordinatedChain.h"

struct EkilnInput {
    SubordinatedChain chain;
    std::string transition;
};

bool ReadEkilnStream(StreamDecoder& in, EkilnInput& input);
