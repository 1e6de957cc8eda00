// TP[T] sums the firing rate of T only over the markings in which no
// deterministic or general transition is enabled, so in a DSPN or EDSPN it
// misses the firings in all other markings. Where the throughput of T over
// all markings can be written as a measure of T's page (for an exponential
// transition: the probability that it is enabled divided by its mean delay),
// mosk-solve adds that measure to the copy of the description it gives mosk,
// under a name of its own, and reports its value beside the results. The
// user's measures and their values stay as they are.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/DescriptionOutline.h"
#include "frontend/ResultsFile.h"

struct ThroughputOffer {
    std::string measure;     // the user's measure that holds TP[...] (as results name it)
    std::string transition;  // as written in TP[...]
    std::size_t page = 0;    // index into the outline's pages
    // The measure that gives the throughput over all markings, in the
    // language of the page's Evaluate section; "" when there is none.
    std::string expression;
    std::string addedName;  // the full name of the added measure
};

// One offer per TP[...] of the measures, when the net has deterministic or
// general delays (none otherwise).
std::vector<ThroughputOffer> ThroughputOffers(const DescriptionOutline& outline);

// `text` with the offers' expressions added as the first measures of their
// pages' Evaluate sections, on the line of "Evaluate :" (so that every line
// keeps its number).
std::string WithOfferedMeasures(std::string_view text, const DescriptionOutline& outline,
                                const std::vector<ThroughputOffer>& offers);

// Removes the added measures from the results of a pass and returns their
// values, one per offer ("" for an offer without expression or value).
std::vector<std::string> TakeOfferedValues(PassResults& results,
                                           const std::vector<ThroughputOffer>& offers);
