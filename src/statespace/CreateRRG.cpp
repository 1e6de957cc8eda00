// The generation driver: the first queue entry, the loop of the mode, and
// the choice of the initial marking.
#include "statespace/CreateRRG.h"

#include "foundation/Reporters.h"
#include "netmodel/EnablingSets.h"
#include "netmodel/MDMSet.h"
#include "netmodel/MarkingVectors.h"
#include "netmodel/Registries.h"
#include "statespace/Activation.h"
#include "statespace/EntryHandlers.h"
#include "statespace/GraphWatch.h"
#include "statespace/GenerationState.h"
#include "statespace/FiringTimeExplorer.h"
#include "statespace/InterningPipeline.h"
#include "statedata/EdgeLabels.h"
#include "statedata/NetCounts.h"
#include "statedata/PendingMarking.h"
#include "statedata/StateSpaceGlobals.h"

namespace {

// The start marking, owned here while it is the initial marking.
Marking* StartMarking = nullptr;

void NMInit()
{
    MDMSet* head = GlobalMDMSetList.GetFirst();
    NewMarking = head->GetNewMarking();
    LastMarking = head->GetLastMarking();
    NewTNos = head->GetNewTNos();
    LastD = head->GetDelay();
}

void RunQueue(void (*handle)())
{
    while (!GlobalMDMSetList.IsEmpty()) {
        NMInit();
        handle();
        GlobalMDMSetList.DelFirstSet();
    }
}

using Handler = void (*)();

Handler HandlerOfMode(int mode)
{
    switch (mode) {
        case 0:
            CRRGErr(1010, "no transitions defined", nullptr);
        case 1:
            return Exc_RRG;
        case 2:
            return Inf_RRG;
        case 3:
            return ExcInf_RRG;
        case 4:
            CRRGErr(1011, "only imm. transitions defined", nullptr);
        case 5:
            return ExcImm_RRG;
        case 6:
            return InfImm_RRG;
        case 7:
            return ExcInfImm_RRG;
        case 8:
            CRRGErr(1012, "det. transition with unknown server type", nullptr);
        case 9:
            return D_Exc_RRG;
        case 10:
            CRRGErr(1013, "det. transition with infinite server type", nullptr);
        case 11:
            return D_ExcInf_RRG;
        case 12:
            CRRGErr(1014, "det. transition with unknown server type", nullptr);
        case 13:
            return D_ExcImm_RRG;
        case 14:
            CRRGErr(1015, "det. transition with infinite server type", nullptr);
        case 15:
            return D_ExcInfImm_RRG;
        default:
            CRRGErr(1016, "unknown rrg mode", nullptr);
    }
}

// A start marking with one edge only stands for its target; with more it is
// the initial state itself, outside the store.
void ChooseInitialMarking(Marking* start)
{
    EdgeCursor first = start->GetStt();
    if (first && !first.Next()) {
        InitialMarking = first->Target();
        delete start;
        return;
    }
    InitialMarking = start;
    StartMarking = start;
}

}  // namespace

int GenerationMode()
{
    int mode = 0;
    if (no_of_exc_transitions != 0) mode += 1;
    if (no_of_inf_transitions != 0) mode += 2;
    if (no_of_imm_transitions != 0) mode += 4;
    if (no_of_det_transitions != 0 || no_of_gen_transitions != 0 || no_of_mix_transitions != 0)
        mode += 8;
    return mode;
}

void CreateRRG()
{
    if (PlaceRefs.count == 0) CRRGErr(970, "CreateRRG()", "place list is empty");
    ReleaseRRG();
    StartGraphWatch();
    auto* initial = new PendingMarking();
    MakeActPms(initial->GetPms());
    auto* start = new Marking(initial->GetPms());
    TNos* set = MakeFirstTNos(initial->GetPms());
    GlobalMDMSetList.AddSet(start, initial, DelayVal(), set);

    PrepareActivation();
    // Every firing of an entry is undone on the new contents before the next
    // entry is loaded: consecutive loads need to write only the places that
    // differ. The queue handles the first entry; where markings can be
    // explored when they come up, that is done for all the others.
    int mode = GenerationMode();
    bool explore = ActivationKnownWhenFired();
    if (explore || mode == 1 || mode == 9) StartLoadRun();
    InternSuccessorsWhenFired(explore);
    if (explore) PrepareExplorer();
    RunQueue(HandlerOfMode(mode));
    FireInternedMarkings();
    InternSuccessorsWhenFired(false);
    EndLoadRun();
    EndGraphWatch();
    ChooseInitialMarking(start);
    ReleaseGenerationStores();
}

// What only the generation needed goes before the later stages allocate:
// the stores are not searched again, and no new distinct edge value comes
// but from the few rates a pass sets.
void ReleaseGenerationStores()
{
    MHash.ReleaseIndex();
    EdgeLabels::ReleaseIndex();
    NPMHash.Clear();
}

void ReleaseRRG()
{
    if (InitialMarking == StartMarking) InitialMarking = nullptr;
    delete StartMarking;
    StartMarking = nullptr;
}
