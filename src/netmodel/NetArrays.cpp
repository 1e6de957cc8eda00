// Definitions of the net-wide arrays; they are filled and freed by the run
// control.
#include "netmodel/NetArrays.h"

#include "netmodel/Place.h"
#include "statedata/NetCounts.h"

Place** PlaceArray = nullptr;
Transition** ExcTrans = nullptr;
Transition** ImmTrans = nullptr;
Transition** InfTrans = nullptr;

bool NoPlaceBounded()
{
    for (int i = 0; i < no_of_places; ++i) {
        const Capacity& c = PlaceArray[i]->GetCapacity();
        if (c.IsPlaceDependent() || c.GetCap() != Capacity::kUnbounded) return false;
    }
    return true;
}
