// The net-wide tables built after the class check: the counts of places and
// of transitions per class, the place array (place i gets number i), the
// transition arrays per class (each transition gets its 1-based field
// position), the working enabling set RefTNos, and the examination's
// counters and chain lists. The arrays are allocated with new[]; the
// transition arrays only for classes that have transitions.
#pragma once

void InitGlobalVars();
