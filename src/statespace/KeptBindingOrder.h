// The order in which the queue of pending successors fires the enabled
// bindings of an infinite-server or immediate transition that it already
// knows. It finds them in binding order and keeps them in a list, the first
// found at the head and every later one right after it: the list runs first
// found, then the others last found first. A marking inherits the lists of
// the transitions that the firings which made it cannot have changed, and
// finds the others again, in binding order. The two orders differ only for
// a transition of more than two bindings; such transitions are named here
// by one bit each, in class order, in sets of each class.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class TNos;

using KeptOrderSet = std::uint64_t;

// Once per generation, once the dependency records are made.
void PrepareKeptBindingOrder();
// Whether every transition whose orders can differ has its bit: at most 64
// of each class.
bool KeptOrderSetsFit();
// Whether a transition of either class has more than two bindings: without,
// every set is empty.
bool BindingsKeptOutOfOrder();
// The tables behind the queries below, which are asked at every firing.
namespace kept_order_tables {
extern std::vector<KeptOrderSet> infBit, immBit;          // by class index
extern std::vector<KeptOrderSet> infChanged, immChanged;  // by transition number - 1
}
// The bit of infinite-server transition j, of immediate transition i (class
// indices); none for one of at most two bindings.
inline KeptOrderSet InfBit(unsigned short j)
{
    return kept_order_tables::infBit[j];
}
inline KeptOrderSet ImmBit(unsigned short i)
{
    return kept_order_tables::immBit[i];
}
// The transitions of each class whose lists the firing of transition
// number transNo drops, as its dependency record names them.
inline KeptOrderSet InfChangedBy(int transNo)
{
    const auto& changed = kept_order_tables::infChanged;
    return transNo >= 1 && static_cast<std::size_t>(transNo) <= changed.size() ? changed[transNo - 1] : 0;
}
inline KeptOrderSet ImmChangedBy(int transNo)
{
    const auto& changed = kept_order_tables::immChanged;
    return transNo >= 1 && static_cast<std::size_t>(transNo) <= changed.size() ? changed[transNo - 1] : 0;
}
// The infinite-server transitions whose lists `set` does not hold: they are
// found again, in binding order.
KeptOrderSet UnknownInf(const TNos& set);
// Makes them known in `set`, as exploring a marking with the set would.
// Their status then says "not enabled": only for a set that fires nothing
// more.
void ForgetUnknownInf(TNos& set);

// Tries bindings 0 .. count - 1 of a transition in its kept order:
// fire(k) fires binding k where it is enabled and answers whether it was.
// The first enabled binding, then the others from the last one down.
template <class Fire>
void FireInKeptOrder(std::size_t count, Fire fire)
{
    std::size_t first = 0;
    while (first < count && !fire(first)) ++first;
    for (std::size_t k = count; k > first + 1; --k) fire(k - 1);
}
