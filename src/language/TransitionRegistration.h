// Checking, counting and filing of transitions. A transition is counted by
// the kind of its delays (immediate, exponential, deterministic, general or
// mixed), numbered net-wide from 1 and filed in the list of its class; each
// deterministic or general one gets its subordinated chain.
#pragma once

#include "foundation/PtrList.h"
#include "foundation/Str.h"
#include "netmodel/Binding.h"
#include "netmodel/Transition.h"

extern unsigned short exc_no;  // the next exclusive number, from 0

// The delay kinds of the bindings must not mix immediate with timed ones,
// deterministic with general ones at the start, nor give an infinite server
// a deterministic or general delay.
void CheckAndCountTransition(ServerType server, const PtrList<Binding>* bindings);
void SaveTransition(Transition* t);
