// Interning at firing time: the activation of the successor is worked out
// on the new contents, then the activated marking is interned.
#include "statespace/SuccessorLookup.h"

#include <cstddef>
#include <vector>

#include "netmodel/EnablingSets.h"
#include "netmodel/MDMSet.h"
#include "netmodel/MarkingVectors.h"
#include "netmodel/PendingSuccessors.h"
#include "statespace/Activation.h"
#include "statespace/DelayCombination.h"
#include "statespace/GenerationState.h"
#include "statespace/MarkingInterning.h"
#include "statespace/SuccessorFiring.h"
#include "statespace/data/Marking.h"
#include "statespace/data/NetCounts.h"
#include "statespace/data/StateSpaceGlobals.h"

namespace {

bool internWhenFired = false;

}  // namespace

void InternSuccessorsWhenFired(bool on)
{
    internWhenFired = on;
}

Marking* InternFiredSuccessor(const short* ata, int transNo, const DelayVal& fired,
                              DelayVal& edge, bool& storedNow)
{
    if (!internWhenFired) return nullptr;
    // The successor is looked at in scratch storage; the store copies what
    // it keeps.
    static std::vector<std::byte> room;
    static std::vector<short> inherited;
    static std::vector<short> completed;
    Pms pms;
    MakeNewPmsIn(pms, room);
    short* own = nullptr;
    if (ata) {
        inherited.assign(ata, ata + no_of_exc_transitions);
        if (RefreshAta(inherited.data(), static_cast<short>(transNo - 1))) own = inherited.data();
    }
    double probability = 1.0;
    if (!ActivateOnNewContents(own, transNo, completed, probability)) return nullptr;
    // An activated successor is interned with the completed array, as its
    // one activation branch would be; that branch's value is combined with
    // the firing's.
    edge = fired;
    if (!completed.empty()) {
        own = completed.data();
        DelayVal branch(probability, kDelayProbability);
        CheckAndCorrectDelayVal(fired, branch);
        edge = branch;
    }
    Marking successor = Marking::View(pms, own);
    successor.CreateKey();
    bool found = false;
    Marking* stored = MHash.Save(&successor, found);
    storedNow = !found;
    return stored;
}

void HandleStoredEntry(const MDMSet& entry)
{
    Marking& stored = *entry.GetStoredTarget();
    Marking& source = *entry.GetLastMarking();
    if (!entry.IsStoredNow()) {
        LinkToStored(source, stored, entry.GetDelay());
        return;
    }
    source.AddMarking(stored, entry.GetDelay());
    LoadPmsIncrementally(stored.GetPms());
    LastMDMSet = GlobalMDMSetList.GetLast();
    SavedMarking = &stored;
    short active = 0;
    FireExcTransitions(active);
}
