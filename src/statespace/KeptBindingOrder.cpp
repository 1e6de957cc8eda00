// What the firing of each transition drops of the kept lists, worked out
// once from the dependency records.
#include "statespace/KeptBindingOrder.h"

#include <vector>

#include "netmodel/NetArrays.h"
#include "netmodel/Transition.h"
#include "statedata/NetCounts.h"
#include "statedata/TDep.h"
#include "statedata/TNos.h"

namespace kept_order_tables {
std::vector<KeptOrderSet> infBit, immBit;
std::vector<KeptOrderSet> infChanged, immChanged;
}

using namespace kept_order_tables;

namespace {

constexpr unsigned kSetBits = 64;

// Numbers the transitions of a class that have more than two bindings.
unsigned NumberOutOfOrder(Transition** transitions, unsigned short count, std::vector<KeptOrderSet>& bit)
{
    bit.assign(count, 0);
    unsigned outOfOrder = 0;
    for (unsigned short i = 0; i < count; ++i) {
        const auto* bindings = transitions[i]->GetBindings();
        if (!bindings || bindings->count <= 2) continue;
        if (outOfOrder < kSetBits) bit[i] = KeptOrderSet{1} << outOfOrder;
        ++outOfOrder;
    }
    return outOfOrder;
}

KeptOrderSet SetOf(const std::vector<KeptOrderSet>& bit, const unsigned short* indices, unsigned short count)
{
    KeptOrderSet set = 0;
    for (unsigned short k = 0; k < count; ++k)
        if (indices[k] < bit.size()) set |= bit[indices[k]];
    return set;
}

unsigned infOutOfOrder = 0, immOutOfOrder = 0;

}  // namespace

void PrepareKeptBindingOrder()
{
    infOutOfOrder = NumberOutOfOrder(InfTrans, no_of_inf_transitions, infBit);
    immOutOfOrder = NumberOutOfOrder(ImmTrans, no_of_imm_transitions, immBit);
    infChanged.assign(no_of_trans, 0);
    immChanged.assign(no_of_trans, 0);
    for (unsigned t = 0; t < no_of_trans; ++t) {
        // A firing without a record leaves every set as it is.
        const TDep* d = RefTDep ? RefTDep[t] : nullptr;
        if (!d) continue;
        infChanged[t] = SetOf(infBit, d->inf, d->inf_no);
        immChanged[t] = SetOf(immBit, d->imm, d->imm_no);
    }
}

bool KeptOrderSetsFit()
{
    return infOutOfOrder <= kSetBits && immOutOfOrder <= kSetBits;
}

bool BindingsKeptOutOfOrder()
{
    return infOutOfOrder != 0 || immOutOfOrder != 0;
}

KeptOrderSet UnknownInf(const TNos& set)
{
    KeptOrderSet unknown = 0;
    for (unsigned short j = 0; j < set.InfCount() && j < infBit.size(); ++j)
        if (set.inf[j] == -1) unknown |= infBit[j];
    return unknown;
}

void ForgetUnknownInf(TNos& set)
{
    for (unsigned short j = 0; j < set.InfCount() && j < infBit.size(); ++j)
        if (set.inf[j] == -1 && infBit[j] != 0) set.inf[j] = 0;
}
