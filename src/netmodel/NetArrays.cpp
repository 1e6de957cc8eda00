// Definitions of the net-wide arrays; they are filled and freed by the run
// control.
#include "netmodel/NetArrays.h"

Place** PlaceArray = nullptr;
Transition** ExcTrans = nullptr;
Transition** ImmTrans = nullptr;
Transition** InfTrans = nullptr;
