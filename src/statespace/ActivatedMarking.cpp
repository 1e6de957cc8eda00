// Interning of explored markings and the start of their successors.
#include "statespace/ActivatedMarking.h"

#include "netmodel/MDMSet.h"
#include "netmodel/PendingSuccessors.h"
#include "statedata/PendingMarking.h"
#include "statedata/TNos.h"
#include "statespace/GenerationState.h"
#include "statespace/InterningPipeline.h"
#include "statespace/KeptBindingOrder.h"
#include "statespace/MarkingInterning.h"
#include "statespace/SuccessorFiring.h"

namespace {

// Interns NewMarking and adds the edge from LastMarking. Answers whether the
// marking is new; SavedMarking is then the stored copy.
bool InternNewMarking()
{
    bool found = false;
    Marking* stored = InternMarking(*NewMarking, NewDelay, found);
    if (found) return false;
    if (InterningWhenFired()) {
        // It is explored when its turn comes, as the queue would explore it
        // now with the working set. That exploration finds every unknown
        // infinite-server transition again, so a further branch stored with
        // the same set has none; the set fires nothing more in this mode.
        QueueForExploring(*stored, UnknownInf(RefTNos));
        ForgetUnknownInf(RefTNos);
        return false;
    }
    LastMDMSet = GlobalMDMSetList.GetLast();
    SavedMarking = stored;
    SavedAta = NewMarking->GetAta();
    return true;
}

}  // namespace

void HandleExcActivatedMarking()
{
    if (!InternNewMarking()) return;
    short active = 0;
    FireExcTransitions(active);
}

void HandleInfActivatedMarking()
{
    if (InternNewMarking()) FireInfTransitions(0);
}

// An exclusive firing changes the new contents only until it is reset, but
// the places are loaded again before the infinite-server firings so that
// they start from the marking itself.
void HandleActivatedMarking()
{
    if (!InternNewMarking()) return;
    short active = 0;
    FireExcTransitions(active);
    FireInfTransitions(active);
}
