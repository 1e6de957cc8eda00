// The output of one firing during the graph generation and its hand-over to
// the queue of pending successors.
#pragma once

#include "statedata/DelayVal.h"

class Marking;
class PendingMarking;

// The stored marking whose successors are being generated, and its ata.
extern Marking* SavedMarking;
extern const short* SavedAta;
// The successor marking and delay value of the last firing.
extern PendingMarking* NewM;
extern DelayVal NewD;

// Appends (SavedMarking, NewM, NewD) to GlobalMDMSetList; the queue takes
// over NewM. The entry gets the enabling set MakeTNos(t), or none.
void MakeNewSet(short t);
void MakeNewSet();
