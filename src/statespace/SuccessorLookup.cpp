// Interning at firing time: the activation of the successor is worked out
// on the new contents, then the activated marking is interned.
#include "statespace/SuccessorLookup.h"

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
NewContentsVector successorVector;

}  // namespace

void InternSuccessorsWhenFired(bool on)
{
    internWhenFired = on;
    if (on) successorVector.Prepare();
}

bool InternFiredSuccessor(int transNo, const DelayVal& fired)
{
    if (!internWhenFired) return false;
    const short* ata = SavedMarking->GetAta();
    // The successor is looked at in scratch storage; the store copies what
    // it keeps.
    static std::vector<short> inherited;
    static std::vector<short> completed;
    const Pms& pms = successorVector.Make();
    short* own = nullptr;
    if (ata) {
        inherited.assign(ata, ata + no_of_exc_transitions);
        if (RefreshAta(inherited.data(), static_cast<short>(transNo - 1))) own = inherited.data();
    }
    double probability = 1.0;
    if (!ActivateOnNewContents(own, transNo, completed, probability)) return false;
    // An activated successor is interned with the completed array, as its
    // one activation branch would be; that branch's value is combined with
    // the firing's.
    DelayVal edge = fired;
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
    if (found) {
        LinkToStored(*SavedMarking, *stored, edge);
    } else {
        SavedMarking->AddMarking(*stored, edge);
        GlobalMDMSetList.AddStoredSet(stored);
    }
    return true;
}

void HandleStoredEntry(const MDMSet& entry)
{
    Marking& stored = *entry.GetStoredTarget();
    LoadPmsIncrementally(stored.GetPms());
    LastMDMSet = GlobalMDMSetList.GetLast();
    SavedMarking = &stored;
    short active = 0;
    FireExcTransitions(active);
}
