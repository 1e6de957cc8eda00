// The output of one firing during the graph generation and its hand-over to
// the queue of pending successors.
#pragma once

#include "statedata/DelayVal.h"

class Marking;

// The stored marking whose successors are being generated.
extern Marking* SavedMarking;
// The successor marking and delay value of the last firing.
extern Marking* NewM;
extern DelayVal NewD;

// Appends (SavedMarking, NewM, NewD) to GlobalMDMSetList; the queue takes
// over NewM. The entry gets the enabling set MakeTNos(t), or none.
void MakeNewSet(short t);
void MakeNewSet();
