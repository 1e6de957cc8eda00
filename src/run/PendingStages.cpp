// Empty stand-ins for the stages listed in PendingStages.h.
#include "run/PendingStages.h"

void ForgetGeneralTransitions() {}
void DeleteDefinitions() {}
void ReleaseStores() {}
