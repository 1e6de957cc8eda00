// The net-wide arrays built after the class check: the places in the order
// of PlaceRefs (place i has number i) and the transitions of each class in
// the order of their lists (class index i, field position i + 1).
#pragma once

class Place;
class Transition;

extern Place** PlaceArray;     // no_of_places entries
extern Transition** ExcTrans;  // no_of_exc_transitions entries
extern Transition** ImmTrans;  // no_of_imm_transitions entries
extern Transition** InfTrans;  // no_of_inf_transitions entries

// No place has a bound (none declared, or one that folds to unbounded): the
// capacity tests, which read the new contents, then always pass.
bool NoPlaceBounded();
