// Measures whose value is not what it seems to say, found before mosk runs:
// a colour wildcard that matches several colours of a place (a filtered
// count takes only the first colour that matches), and TP[...] in a net with
// deterministic or general delays (it counts firings only in markings where
// none of those is enabled). One line each; the results are not changed.
#pragma once

#include <string>
#include <vector>

#include "frontend/DescriptionOutline.h"
#include "frontend/ThroughputOffer.h"

std::vector<std::string> MeasureWarnings(const DescriptionOutline& outline,
                                         const std::vector<ThroughputOffer>& offers);

// The line that gives the throughput over all markings of an offer, with
// its values (one per pass) after the run.
std::string OfferedValueNote(const ThroughputOffer& offer, const std::vector<std::string>& values);
