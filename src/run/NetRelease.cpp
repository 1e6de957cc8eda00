// Release of the net model's registries and stores, stage by stage.
#include "run/NetRelease.h"

#include "netmodel/Definition.h"
#include "netmodel/NetArrays.h"
#include "netmodel/Registries.h"
#include "netmodel/Textual.h"
#include "statedata/StateSpaceGlobals.h"

void ForgetGeneralTransitions() { GeneralTransitions.SoftClear(); }

void DeleteDefinitions() { DefinitionRefs.HardClear(); }

void ReleaseStores()
{
    MHash.Clear();
    EvalRefs.HardClear();
    TransitionNames.HardClear();
    delete[] PlaceArray;
    PlaceArray = nullptr;
}
