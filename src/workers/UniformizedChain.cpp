// Assembly of the uniformized step matrix and of the target rows. Entries
// of equal column are merged so that every row has each column once.
#include "workers/UniformizedChain.h"

#include <algorithm>

namespace {

// Appends one row given as (column, value) pairs, merging equal columns and
// leaving out zeros (the diagonal of the fastest state of P, for one).
void AppendRow(SparseRows& rows, std::vector<std::pair<std::uint32_t, double>>& entries)
{
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < entries.size();) {
        double value = 0.0;
        std::size_t j = i;
        for (; j < entries.size() && entries[j].first == entries[i].first; ++j)
            value += entries[j].second;
        if (value != 0.0) {
            rows.column.push_back(entries[i].first);
            rows.value.push_back(value);
        }
        i = j;
    }
    rows.start.push_back(rows.column.size());
    entries.clear();
}

std::uint32_t TargetIndex(const std::vector<std::uint32_t>& targets, std::uint32_t state)
{
    return static_cast<std::uint32_t>(std::lower_bound(targets.begin(), targets.end(), state) -
                                      targets.begin());
}

}  // namespace

UniformizedChain::UniformizedChain(const SubordinatedChain& chain, double fallbackRate)
{
    for (const ChainState& s : chain.states) rate = std::max(rate, s.exitRate);
    if (rate <= 0.0) rate = fallbackRate;

    for (const ChainState& s : chain.states) {
        for (const ChainMove& m : s.firing) targets.push_back(m.target);
        for (const ChainMove& m : s.moves)
            if (!chain.Contains(m.target)) targets.push_back(m.target);
    }
    std::sort(targets.begin(), targets.end());
    targets.erase(std::unique(targets.begin(), targets.end()), targets.end());

    step.start.assign(1, 0);
    firing.start.assign(1, 0);
    leaving.start.assign(1, 0);
    std::vector<std::pair<std::uint32_t, double>> entries;
    for (std::size_t i = 0; i < chain.states.size(); ++i) {
        const ChainState& s = chain.states[i];
        entries.emplace_back(static_cast<std::uint32_t>(i), 1.0 - s.exitRate / rate);
        for (const ChainMove& m : s.moves)
            if (chain.Contains(m.target))
                entries.emplace_back(m.target - chain.firstState, m.value / rate);
        AppendRow(step, entries);

        for (const ChainMove& m : s.firing)
            entries.emplace_back(TargetIndex(targets, m.target), m.value);
        AppendRow(firing, entries);

        for (const ChainMove& m : s.moves)
            if (!chain.Contains(m.target))
                entries.emplace_back(TargetIndex(targets, m.target), m.value);
        AppendRow(leaving, entries);
    }
}
