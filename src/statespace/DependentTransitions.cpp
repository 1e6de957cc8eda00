// Sorted dependency records, see DependentTransitions.h.
#include "statespace/DependentTransitions.h"

#include <algorithm>

#include "statedata/NetCounts.h"
#include "statedata/TDep.h"

namespace {

std::vector<std::vector<unsigned short>> exclusives;
std::vector<std::vector<unsigned short>> immediates;
std::vector<unsigned short> all;

std::vector<unsigned short> Sorted(const unsigned short* indices, unsigned short n,
                                   unsigned short limit)
{
    std::vector<unsigned short> list;
    for (unsigned short k = 0; k < n; ++k)
        if (indices[k] < limit) list.push_back(indices[k]);
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
    return list;
}

}  // namespace

void SortDependents(bool sorted)
{
    exclusives.assign(no_of_trans, {});
    immediates.assign(no_of_trans, {});
    all.resize(no_of_exc_transitions);
    for (unsigned short i = 0; i < no_of_exc_transitions; ++i) all[i] = i;
    if (!sorted || !RefTDep) return;
    for (unsigned t = 0; t < no_of_trans; ++t) {
        if (!RefTDep[t]) continue;
        exclusives[t] = Sorted(RefTDep[t]->exc, RefTDep[t]->exc_no, no_of_exc_transitions);
        immediates[t] = Sorted(RefTDep[t]->imm, RefTDep[t]->imm_no, no_of_imm_transitions);
    }
}

const std::vector<unsigned short>& DependentExclusives(int transNo)
{
    return exclusives[static_cast<std::size_t>(transNo - 1)];
}

const std::vector<unsigned short>& DependentImmediates(int transNo)
{
    return immediates[static_cast<std::size_t>(transNo - 1)];
}

const std::vector<unsigned short>& AllExclusives()
{
    return all;
}
