// The working variables of the graph generation.
#include "statespace/GenerationState.h"

PendingMarking* NewMarking = nullptr;
Marking* LastMarking = nullptr;
DelayVal LastD;
TNos* NewTNos = nullptr;
DelayVal NewDelay;
MDMSet* LastMDMSet = nullptr;
short* ExcStartAta = nullptr;
exc_mark ExcStartMark;
std::vector<ReachedMarking> ImmReached;
