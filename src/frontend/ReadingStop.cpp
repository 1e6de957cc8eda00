// Binary search for the first word that the reader does not accept. Reading
// a prefix is monotone: if the reader stops within a prefix, it stops within
// every longer one.
#include "frontend/ReadingStop.h"

std::size_t FindReadingStop(std::string_view text, const std::vector<DescriptionToken>& tokens,
                            const std::vector<std::size_t>& candidates, const PrefixReader& reads)
{
    if (!reads || candidates.empty()) return kStopUnknown;
    auto readsThrough = [&](std::size_t k) {
        const DescriptionToken& word = tokens[candidates[k]];
        return reads(text.substr(0, word.offset + word.text.size()));
    };
    std::size_t low = 0;                   // the words before `low` are read
    std::size_t high = candidates.size();  // the word at `high` is not (if any)
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (readsThrough(middle))
            low = middle + 1;
        else
            high = middle;
    }
    if (low < candidates.size()) return candidates[low];
    return candidates.back() + 1 == tokens.size() ? tokens.size() : kStopUnknown;
}
