// Intermediate markings after deterministic and general firings.
#include "statespace/IntermediateMarkings.h"

#include "netmodel/MDMSet.h"
#include "statespace/GenerationState.h"
#include "statespace/MarkingInterning.h"
#include "statedata/PendingMarking.h"
#include "statedata/StateSpaceGlobals.h"
#include "statedata/TNos.h"

namespace {

bool AfterDetOrGenFiring()
{
    int code = LastD.GetDelayType();
    return code == kDelayDeterministic || code == kDelayGeneral;
}

// Interns the entry's marking and links it from LastMarking. Answers the
// stored marking when it is new, null when it was stored before: its
// branches were appended then, and appending them again would only add the
// same probabilities a second time to its merged edges.
Marking* InternIntermediate()
{
    bool found = false;
    Marking* stored = InternMarking(*NewMarking, LastD, found);
    return found ? nullptr : stored;
}

}  // namespace

bool SavedExcDetOrGenMarks()
{
    if (!AfterDetOrGenFiring()) return false;
    if (Marking* from = InternIntermediate())
        for (exc_mark* em = &ExcStartMark; em; em = em->next)
            GlobalMDMSetList.AddSet(from, new PendingMarking(NewMarking->GetPms(), em->ata), *em,
                                    new TNos(RefTNos));
    return true;
}

bool SavedImmDetOrGenMarks()
{
    if (!AfterDetOrGenFiring()) return false;
    if (Marking* from = InternIntermediate()) {
        for (const ReachedMarking& r : ImmReached) {
            const PendingMarking& reached = *r.marking;
            GlobalMDMSetList.AddSet(from, new PendingMarking(reached.GetPms(), reached.GetAta()),
                                    r.delay, new TNos(*r.set));
        }
    }
    return true;
}
