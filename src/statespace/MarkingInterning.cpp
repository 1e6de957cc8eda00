// Interning of explored markings.
#include "statespace/MarkingInterning.h"

#include "statespace/GenerationState.h"
#include "statespace/GraphWatch.h"
#include "statespace/InterningPipeline.h"
#include "statedata/MarkingCode.h"
#include "statedata/PendingMarking.h"
#include "statedata/StateSpaceGlobals.h"

Marking* StoreMarking(const Pms& pms, const short* ata, bool& found)
{
    static MarkingCode code;
    const std::uint8_t* c = code.Encode(pms, ata);
    // Explored markings are shown when they are explored.
    if (InterningWhenFired()) return MHash.SaveUnshown(c, CodeHash(c), found);
    return MHash.Save(c, CodeHash(c), found);
}

Marking* InternMarking(const PendingMarking& marking, const DelayVal& edge, bool& found)
{
    Marking* stored = StoreMarking(marking.GetPms(), marking.GetAta(), found);
    if (found) {
        LinkToStored(*LastMarking, *stored, edge);
    } else {
        LastMarking->AddMarking(*stored, edge);
        WatchStoredMarking(*LastMarking, *stored, &marking.GetPms());
    }
    return stored;
}

void LinkToStored(Marking& source, Marking& stored, const DelayVal& edge)
{
    bool merged = false;
    source.UAddMarking(stored, edge, merged);
}

void LinkToStored(Marking& source, unsigned number, const DelayVal& edge)
{
    if (edge.GetDelayType() == kDelayProbability)
        LinkToStored(source, MHash.Stored(number), edge);
    else
        source.AddEdgeTo(MHash.IdOf(number), edge);
}
