// The order in which the queue of pending successors fires the enabled
// bindings of an infinite-server transition that it already knows. It finds
// them in binding order and keeps them in a list, the first found at the
// head and every later one right after it: the list runs first found, then
// the others last found first. A successor inherits the lists of the
// transitions that the firing which made it cannot have changed, and finds
// the others again, in binding order.
#pragma once

// Once per generation, once the dependency records are made.
void PrepareKeptBindingOrder();
// Whether an infinite-server transition has more than two bindings, so
// that the two orders can differ.
bool InfBindingsKeptOutOfOrder();
// Whether the firing of transition number transNo may change the enabling
// of infinite-server transition `inf` (class index): true for a
// transition without a dependency record.
bool FiringMayChangeInf(short transNo, unsigned short inf);
