// The word at which mosk's reader stopped, when its report names only the
// line. The reader itself is asked: a description cut after a word that it
// still accepts makes it stop at the cut, one cut after the offending word
// makes it stop at that word. A binary search over the words of the line
// needs a handful of short runs.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

#include "frontend/DescriptionTokens.h"

// Whether the reader reads all of `prefix` (a description cut after a word)
// before it stops.
using PrefixReader = std::function<bool(std::string_view prefix)>;

constexpr std::size_t kStopUnknown = static_cast<std::size_t>(-1);

// Of the words `candidates` (indices into `tokens`, in order, all on the
// line of the report), the one at which reading stops; tokens.size() when
// the reader took all of them and the last is the last of the description
// (reading stopped at its end); kStopUnknown when it cannot be told.
std::size_t FindReadingStop(std::string_view text, const std::vector<DescriptionToken>& tokens,
                            const std::vector<std::size_t>& candidates, const PrefixReader& reads);
