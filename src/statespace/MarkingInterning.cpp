// Interning of explored markings.
#include "statespace/MarkingInterning.h"

#include "statespace/GenerationState.h"
#include "statespace/data/StateSpaceGlobals.h"

Marking* InternMarking(Marking& marking, const DelayVal& edge, bool& found)
{
    marking.CreateKey();
    found = false;
    Marking* stored = MHash.Save(&marking, found);
    if (found) {
        bool merged = false;
        LastMarking->UAddMarking(*stored, edge, merged);
    } else {
        LastMarking->AddMarking(*stored, edge);
    }
    return stored;
}
