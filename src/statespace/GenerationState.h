// The working variables of the graph generation. They point into the queue
// entry being explored or into the marking store; the handlers of one entry
// pass their results through them, as the firing code of the net model
// passes its successors through SavedMarking, NewM and NewD.
#pragma once

#include <vector>

#include "statedata/DelayVal.h"
#include "statedata/Multiset.h"

class MDMSet;
class Marking;
class PendingMarking;
class TNos;

extern PendingMarking* NewMarking;  // the marking of the entry (not yet interned)
extern Marking* LastMarking;  // the stored marking it was reached from
extern DelayVal LastD;        // the delay value of that firing
extern TNos* NewTNos;         // the enabling set carried by the entry
extern DelayVal NewDelay;     // the value of the edge about to be added
extern MDMSet* LastMDMSet;    // the queue tail before the successors of a marking

// Activation of exclusive transitions: the ata it starts from and the
// resulting branches (empty when nothing was activated).
extern short* ExcStartAta;
extern exc_mark ExcStartMark;

// Result of the immediate elimination: the reached tangible markings, each
// with the value of its edge (the probability of reaching it) and its
// enabling set. Empty when the entry's marking is tangible.
struct ReachedMarking {
    PendingMarking* marking;
    DelayVal delay;
    TNos* set;
};
extern std::vector<ReachedMarking> ImmReached;
