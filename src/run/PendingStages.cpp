// Empty stand-ins for the stages listed in PendingStages.h.
#include "run/PendingStages.h"

void ForgetGeneralTransitions() {}
void DeleteDefinitions() {}
void SetRates() {}
void SolveNetModel() {}
void WriteResults(Str) {}
void ReleaseStores() {}
int FindExclusiveTransitionNumber(const Str&) { return -1; }
