// Interning of explored markings.
#include "statespace/MarkingInterning.h"

#include "statespace/GenerationState.h"
#include "statespace/GraphWatch.h"
#include "statedata/StateSpaceGlobals.h"

Marking* InternMarking(Marking& marking, const DelayVal& edge, bool& found)
{
    marking.CreateKey();
    found = false;
    Marking* stored = MHash.Save(&marking, found);
    if (found) {
        LinkToStored(*LastMarking, *stored, edge);
    } else {
        LastMarking->AddMarking(*stored, edge);
        WatchStoredMarking(*LastMarking, *stored);
    }
    return stored;
}

void LinkToStored(Marking& source, Marking& stored, const DelayVal& edge)
{
    bool merged = false;
    source.UAddMarking(stored, edge, merged);
}
