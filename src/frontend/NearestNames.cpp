// Edit distance with swaps of neighbours (optimal string alignment): a
// swapped pair of letters, the commonest typing slip, counts as one edit.
#include "frontend/NearestNames.h"

#include <algorithm>

std::size_t EditDistance(std::string_view a, std::string_view b)
{
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i)
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t replace = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + replace});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

std::vector<std::string> NearestNames(const std::string& word,
                                      const std::vector<std::string>& candidates, std::size_t most)
{
    // Very long words are not compared: no one misspells a name of hundreds
    // of letters, and the table above grows with the product of the lengths.
    constexpr std::size_t kLongest = 200;
    const std::size_t allowed = std::max<std::size_t>(1, word.size() / 3);
    std::vector<std::pair<std::size_t, std::string>> near;
    if (word.size() > kLongest) return {};
    for (const std::string& candidate : candidates) {
        // Names whose lengths differ by more than the edits allowed are
        // farther apart than that; most candidates end here, cheaply.
        const std::size_t lengths = candidate.size() > word.size() ? candidate.size() - word.size()
                                                                   : word.size() - candidate.size();
        if (candidate == word || candidate.size() > kLongest || lengths > allowed) continue;
        const std::size_t distance = EditDistance(word, candidate);
        const bool seen = std::any_of(near.begin(), near.end(),
                                      [&](const auto& entry) { return entry.second == candidate; });
        if (distance <= allowed && !seen) near.emplace_back(distance, candidate);
    }
    std::stable_sort(near.begin(), near.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> names;
    for (std::size_t i = 0; i < near.size() && i < most; ++i) names.push_back(near[i].second);
    return names;
}

std::string QuotedChoice(const std::vector<std::string>& names)
{
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " or " : ", ";
        text += "`" + names[i] + "`";
    }
    return text;
}
