// The distinct delay values of the edges, see EdgeLabels.h.
#include "statedata/EdgeLabels.h"

std::vector<DelayVal> EdgeLabels::labels;
std::vector<std::uint32_t> EdgeLabels::index;

std::uint32_t EdgeLabels::Find(const DelayVal& d)
{
    if (2 * (labels.size() + 1) > index.size()) Grow();
    std::size_t mask = index.size() - 1;
    for (std::size_t i = HashOf(d) & mask;; i = (i + 1) & mask) {
        std::uint32_t slot = index[i];
        if (slot == 0) {
            labels.push_back(d);
            index[i] = static_cast<std::uint32_t>(labels.size());
            return index[i] - 1;
        }
        if (Same(labels[slot - 1], d)) return slot - 1;
    }
}

void EdgeLabels::Grow()
{
    std::size_t size = 64;
    while (size < 4 * (labels.size() + 1)) size *= 2;
    index.assign(size, 0);
    for (std::size_t k = 0; k < labels.size(); ++k) {
        std::size_t mask = size - 1;
        std::size_t i = HashOf(labels[k]) & mask;
        while (index[i]) i = (i + 1) & mask;
        index[i] = static_cast<std::uint32_t>(k + 1);
    }
}

void EdgeLabels::ReleaseIndex()
{
    std::vector<std::uint32_t>().swap(index);
}

void EdgeLabels::Clear()
{
    ReleaseIndex();
    std::vector<DelayVal>().swap(labels);
}
