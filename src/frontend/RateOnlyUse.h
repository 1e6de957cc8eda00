// Whether a definition can be swept by re-evaluation passes over one graph.
// That is sound when every use of it is the whole mean delay of an
// exponential, single-server transition with one binding on a sub-page
// (directly or through page parameters), in a net without immediate,
// deterministic or general transitions: a new value then changes only the
// rates of existing edges, which is what a delays file sets. Any other use,
// or anything this reading cannot be sure of, means one run per value.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frontend/DefinitionSection.h"
#include "frontend/DescriptionLayout.h"

struct DelayTarget {
    std::string subModel;    // the page path below the root, "Srv" or "A\B"
    std::string transition;  // the transition's name on that page
};

// The transitions whose rates a pass sets for `definition`; nothing when
// the definition cannot be swept that way.
std::optional<std::vector<DelayTarget>> RateOnlyUses(const std::vector<DescriptionToken>& tokens,
                                                     const DescriptionLayout& layout,
                                                     const DefinitionEntry& definition);
