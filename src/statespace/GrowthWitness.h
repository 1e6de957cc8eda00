// Finds a marking that holds at least the tokens of an earlier marking on
// the path that produced it, and more in some places: where the net's
// enabling only grows with the marking, the firings of that path can be
// repeated for ever. The path is the chain of markings each first reached
// from the one before. A few bytes are kept for each of the first markings
// stored (kWindow of them): a net that grows without bound shows it early,
// and a large bounded graph costs nothing after them.
#pragma once

#include <cstdint>
#include <vector>

#include "statespace/PlaceGrowth.h"

class Marking;
struct MTms;
struct Pms;

struct GrowthFinding {
    std::vector<int> places;  // place numbers with more tokens
    bool proof = false;       // every one of them is PlaceGrowth::Free
};

class GrowthWitness {
public:
    static constexpr std::size_t kWindow = std::size_t{1} << 18;

    explicit GrowthWitness(std::vector<PlaceGrowth> kinds) : kinds(std::move(kinds)) {}

    // `stored` was just stored, first reached from `from` (the markings of
    // one generation, in the order they are stored); `pms` is its vector,
    // decoded by the caller. True when it covers a
    // marking on its path; `finding` then says where. After the window the
    // witness stops and frees what it kept.
    bool Note(const Marking& from, const Marking& stored, const Pms& pms, GrowthFinding& finding);
    bool Active() const { return active; }
    void Stop();

private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    std::uint32_t SourceOf(const Marking& from);
    std::uint32_t FreeTokens(const Pms& pms) const;
    bool Covers(const Marking& later, const Marking& earlier, GrowthFinding& finding) const;
    int ComparePlace(const MTms* later, const MTms* earlier) const;

    std::vector<PlaceGrowth> kinds;
    bool active = true;
    // By the order the markings were stored: the marking, the index of the
    // marking it was first reached from, its tokens in places that are not
    // capped, and the least of those along its path.
    std::vector<const Marking*> markings;
    std::vector<std::uint32_t> parent;
    std::vector<std::uint32_t> tokens;
    std::vector<std::uint32_t> leastOnPath;
    // Markings are reached from the ones stored before them in the order
    // these were stored, so the search for a source resumes where it ended.
    std::uint32_t cursor = 0;
    unsigned misses = 0;
};
