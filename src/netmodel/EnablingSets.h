// Building and updating the enabling sets (TNos) of markings in the working
// set RefTNos, and refreshing the active transition array after a firing.
#pragma once

#include <cstdint>
#include <vector>

#include "statedata/Multiset.h"

class PlainImmediates;
class TNos;
class Transition;

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
// remains (or for a null ata). `fired` is the fired transition (transition
// number - 1), -1 when unknown; see SetAtaRefreshByDependencies.
short* MakeNewAta(const short* ata, short fired = -1);
// The same where the entries of `ata` that are not 0 are known to be
// `active`: a wide ata is not looked through for them.
short* MakeNewAta(const short* ata, const std::vector<unsigned>& active, short fired);
// The same where the new contents are the flat form `flat` of `counts`,
// whose exclusive transitions' enabling is known on counts: the places are
// not read. The ata is written to `into` (room for every exclusive
// transition), which the caller keeps for many successors at once rather
// than one allocation each; false, and `into` untouched, where MakeNewAta
// answers null. As above, `active` lists the entries of `ata` that are not 0.
bool MakeNewAtaOnCounts(const short* ata, const std::vector<unsigned>& active, short fired,
                        const PlainImmediates& counts, const std::uint16_t* flat, short* into);
// Whether the transition and its binding number `binding` are still enabled
// on the new contents.
bool StillActive(const Transition& t, short binding);

// When every active entry of an ata is known to be enabled in its marking and
// the dependency records cover every way a firing changes enabling, a firing
// can take the entry only of a transition whose enabling it may take away:
// one that takes tokens from a place the firing leaves with fewer, or whose
// condition counts a place the firing changes. `disablable` lists those of
// each transition (by transition number - 1; exclusive class indices,
// ascending), and only they are tested again. The generation sets the lists
// for such nets; without them every active entry is tested.
void SetAtaRefreshByDependencies(std::vector<std::vector<unsigned short>> disablable);
bool AtaRefreshByDependencies();
