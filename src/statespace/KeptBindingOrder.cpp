// What the firing of each transition may change of the infinite-server
// transitions, worked out once from the dependency records.
#include "statespace/KeptBindingOrder.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "netmodel/NetArrays.h"
#include "netmodel/Transition.h"
#include "statedata/NetCounts.h"
#include "statedata/TDep.h"

namespace {

bool outOfOrder = false;
// By (transition number - 1) * infinite-server count + class index.
std::vector<std::uint8_t> mayChange;

}  // namespace

void PrepareKeptBindingOrder()
{
    outOfOrder = false;
    mayChange.clear();
    for (unsigned short j = 0; j < no_of_inf_transitions; ++j)
        if (InfTrans[j]->GetBindings() && InfTrans[j]->GetBindings()->count > 2) outOfOrder = true;
    if (!outOfOrder) return;
    const std::size_t n = no_of_inf_transitions;
    mayChange.assign(no_of_trans * n, 0);
    for (unsigned t = 0; t < no_of_trans; ++t) {
        const TDep* d = RefTDep ? RefTDep[t] : nullptr;
        if (!d) {
            std::fill_n(mayChange.begin() + t * n, n, 1);
            continue;
        }
        for (unsigned short k = 0; k < d->inf_no; ++k)
            if (d->inf[k] < n) mayChange[t * n + d->inf[k]] = 1;
    }
}

bool InfBindingsKeptOutOfOrder()
{
    return outOfOrder;
}

bool FiringMayChangeInf(short transNo, unsigned short inf)
{
    if (transNo < 1 || static_cast<unsigned>(transNo) > no_of_trans) return true;
    return mayChange[(transNo - 1) * std::size_t{no_of_inf_transitions} + inf] != 0;
}
