// Empty stand-ins for the stages listed in PendingStages.h.
#include "run/PendingStages.h"

void ForgetGeneralTransitions() {}
void ShowClasses() {}
void DeleteDefinitions() {}
void CreateMarkingStores() {}
void CreateRRG() {}
void ShowRRGParams(int) {}
void FreeTransitionArrays() {}
void ShowHashDistribution() {}
void ExamineRRG() {}
void ShowRRG() {}
void ShowSmallRRG() {}
void ReleaseStores() {}
