// Building and updating the enabling sets (TNos) of markings in the working
// set RefTNos, and refreshing the active transition array after a firing.
#pragma once

#include "statespace/data/Multiset.h"

class TNos;

// Loads the vector into the places and computes the whole enabling set from
// scratch into RefTNos; returns a copy of it.
TNos* MakeFirstTNos(const Pms& pms);
// A copy of RefTNos in which every transition depending on transition t
// (transition number - 1) is unknown again.
TNos* MakeTNos(short t);
// The same update applied to `set` in place.
void ModTNos(TNos& set, short t);
// The ata after a firing: an entry stays only while its transition and its
// active binding are still enabled on the new contents. Null when no entry
// remains (or for a null ata).
short* MakeNewAta(const short* ata);
