// Hand-over of firing results to the queue of pending successors.
#include "netmodel/PendingSuccessors.h"

#include "netmodel/EnablingSets.h"
#include "netmodel/MDMSet.h"

Marking* SavedMarking = nullptr;
const short* SavedAta = nullptr;
PendingMarking* NewM = nullptr;
DelayVal NewD;

void MakeNewSet(short t) { GlobalMDMSetList.AddSet(SavedMarking, NewM, NewD, MakeTNos(t)); }

void MakeNewSet() { GlobalMDMSetList.AddNewSet(SavedMarking, NewM, NewD); }
