// The delay tables applied to the reduced reachability graph: the mean
// delays of the transitions that stand for the other sub-models become the
// rates of their exponential edges, pass after pass, without generating the
// graph again.
#pragma once

#include "foundation/Str.h"

// Sets the rate 1 / delay on every edge of an exponential marking whose
// transition has an entry in the tables of another sub-model than this
// process's own; where several sub-models have one, the last of them counts.
// A delay that gives no finite positive rate (0, negative, not a number)
// ends the run with a message naming the transition.
void SetRates();

// The number of the first exclusive transition with this full name, or -1.
int FindExclusiveTransitionNumber(const Str& fullName);
