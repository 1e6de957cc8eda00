// Handling of one queue entry: activation of exclusive transitions,
// elimination of immediate transitions, intermediate markings after
// deterministic and general firings, then the mode's Handle function for
// every resulting marking.
#include "statespace/EntryHandlers.h"

#include "netmodel/MarkingVectors.h"
#include "statespace/ActivatedMarking.h"
#include "statespace/Activation.h"
#include "statespace/DelayCombination.h"
#include "statespace/GenerationState.h"
#include "statespace/HandleImmTransitions.h"
#include "statespace/IntermediateMarkings.h"
#include "statedata/PendingMarking.h"
#include "statedata/TNos.h"

namespace {

using Handle = void (*)();

// `marking` once per branch of ExcStartMark, each with its ata and with the
// value `before` split by the branch's probability.
void HandleBranches(PendingMarking& marking, const DelayVal& before, Handle handle)
{
    for (exc_mark* em = &ExcStartMark; em; em = em->next) {
        CheckAndCorrectDelayVal(before, *em);
        marking.GetAta() = em->ata;
        NewMarking = &marking;
        NewDelay = *em;
        handle();
    }
    marking.GetAta() = nullptr;  // the arrays belong to the branches
    ClearNewExc();
}

// The entry's marking, prepared by NewInitExc: activation, then one Handle
// per branch (or the marking itself when nothing was activated).
void HandleEntryActivations(Handle handle, bool intermediate)
{
    HandleExcTransitions();
    if (!ExcStartMark.used) {
        NewDelay = LastD;
        handle();
        return;
    }
    if (intermediate && SavedExcDetOrGenMarks()) {
        ClearNewExc();
        return;
    }
    clear_ata(NewMarking->GetAta());
    HandleBranches(*NewMarking, LastD, handle);
}

// A tangible marking reached through immediate firings, with its set.
void HandleReachedMarking(ReachedMarking& r, Handle handle)
{
    ImmInitExc(*r.marking, r.set);
    HandleExcTransitions();
    if (!ExcStartMark.used) {
        NewMarking = r.marking;
        NewDelay = r.delay;
        handle();
        return;
    }
    PendingMarking fresh(r.marking->GetPms());
    HandleBranches(fresh, r.delay, handle);
}

void HandleReachedInfMarking(ReachedMarking& r)
{
    NewDelay = r.delay;
    RefTNos = *r.set;
    NewMarking = r.marking;
    InitRefPms(NewMarking->GetPms());
    HandleInfActivatedMarking();
}

// Without exclusive transitions nothing is activated: the entry's marking is
// handled as it is, with its own set in the places.
void HandleInfEntry(short reload)
{
    RefTNos = *NewTNos;
    if (reload) InitRefPms(NewMarking->GetPms());
    NewDelay = LastD;
    HandleInfActivatedMarking();
}

// The modes with immediate transitions: the entry's marking is resolved
// first; a tangible one is handled as in the mode without them.
void HandleImmEntry(Handle handle, bool activation, bool intermediate)
{
    short init_again = 0;
    HandleImmTransitions(init_again);
    if (ImmReached.empty()) {
        if (!activation) {
            HandleInfEntry(init_again);
            return;
        }
        NewInitExc(init_again);
        HandleEntryActivations(handle, intermediate);
        return;
    }
    if (intermediate && SavedImmDetOrGenMarks()) {
        ClearImm();
        return;
    }
    for (ReachedMarking& r : ImmReached) {
        CheckAndCorrectDelayVal(LastD, r.delay);
        if (activation)
            HandleReachedMarking(r, handle);
        else
            HandleReachedInfMarking(r);
    }
    ClearImm();
}

}  // namespace

void Exc_RRG()
{
    NewInitExc(1);
    HandleEntryActivations(HandleExcActivatedMarking, false);
}

void Inf_RRG()
{
    HandleInfEntry(1);
}

void ExcInf_RRG()
{
    NewInitExc(1);
    HandleEntryActivations(HandleActivatedMarking, false);
}

void ExcImm_RRG()
{
    HandleImmEntry(HandleExcActivatedMarking, true, false);
}

void InfImm_RRG()
{
    HandleImmEntry(HandleInfActivatedMarking, false, false);
}

void ExcInfImm_RRG()
{
    HandleImmEntry(HandleActivatedMarking, true, false);
}

void D_Exc_RRG()
{
    NewInitExc(1);
    HandleEntryActivations(HandleExcActivatedMarking, true);
}

void D_ExcInf_RRG()
{
    NewInitExc(1);
    HandleEntryActivations(HandleActivatedMarking, true);
}

void D_ExcImm_RRG()
{
    HandleImmEntry(HandleExcActivatedMarking, true, true);
}

void D_ExcInfImm_RRG()
{
    HandleImmEntry(HandleActivatedMarking, true, true);
}
