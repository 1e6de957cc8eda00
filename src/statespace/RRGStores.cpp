// The stores of the graph around its generation.
#include "statespace/RRGStores.h"

#include "foundation/RunState.h"
#include "netmodel/NetArrays.h"
#include "netmodel/Registries.h"
#include "statedata/StateSpaceGlobals.h"

void CreateMarkingStores()
{
    MHash.CreateHash(kMarkingBuckets, SHOW_COUNT ? kShowCount : kShowSpinner);
    if (ImmediateTransitions.count != 0) NPMHash.CreateHash(kVanishingBuckets, kShowNothing);
}

void FreeTransitionArrays()
{
    for (Transition*** array : {&ExcTrans, &ImmTrans, &InfTrans}) {
        delete[] * array;
        *array = nullptr;
    }
}

void ShowHashDistribution()
{
    MHash.ShowHashDistribution();
}
