// The process-wide stores of the state space.
#include "statedata/StateSpaceGlobals.h"

MarkingStore MHash;
Hash<NPMarking> NPMHash;
PtrList<SMChain> DetMarkingSMChains;
PtrList<SMChain> GenMarkingSMChains;
marking_lists MLists;
unsigned MCount[8] = {0, 0, 0, 0, 0, 0, 0, 0};
Marking* InitialMarking = nullptr;
