// Successor generation. The enabling set of a successor is the working set
// after all firings of its source, with the transitions that depend on the
// fired one marked unknown.
#include "statespace/SuccessorFiring.h"

#include "netmodel/EnablingSets.h"
#include "netmodel/MDMSet.h"
#include "netmodel/MarkingVectors.h"
#include "netmodel/NetArrays.h"
#include "netmodel/PendingSuccessors.h"
#include "netmodel/Transition.h"
#include "statespace/GenerationState.h"
#include "statedata/PendingMarking.h"
#include "statedata/NetCounts.h"
#include "statedata/TNos.h"

namespace {

void MakeEnablingSets()
{
    MDMSet* e = LastMDMSet ? LastMDMSet->GetNext() : GlobalMDMSetList.GetFirst();
    for (; e; e = e->GetNext()) {
        TNos*& set = e->GetNewTNos();
        delete set;
        set = new TNos(RefTNos);
        for (short_list* t = e->GetTransitions(); t; t = t->next) ModTNos(*set, t->value - 1);
    }
}

// The successor the new contents hold after the firing of transition number
// transNo from SavedMarking, reached with NewD, queued.
void QueueSuccessor(const short* ata, int transNo)
{
    NewM = MakeSuccessorMarking(ata, transNo);
    MakeNewSet();
}

}  // namespace

void FireExcTransitions(short& active)
{
    active = 0;
    const short* ata = SavedAta;
    if (!ata) return;
    for (unsigned short i = 0; i < no_of_exc_transitions; ++i) {
        if (ata[i] == 0) continue;
        active = 1;
        Transition& t = *ExcTrans[i];
        double value = 0.0;
        Binding* fired = t.FireActive(ata, value);
        if (value != 0.0) {
            NewD = fired->Record(value, t.GetNo());
            QueueSuccessor(ata, t.GetNo());
            RefTNos.exc[i] = 1;
        } else {
            RefTNos.exc[i] = 0;
        }
        if (fired) fired->CpyActToNew();
    }
    if (no_of_inf_transitions == 0) MakeEnablingSets();
}

void FireInfTransitions(short reload)
{
    if (reload) InitRefPms(NewMarking->GetPms());
    for (unsigned short i = 0; i < no_of_inf_transitions; ++i) {
        if (RefTNos.inf[i] == 1)
            FireInf(i);
        else if (RefTNos.inf[i] == -1)
            ChkAndFireInf(i);
    }
    MakeEnablingSets();
}

void FireInf(unsigned short i)
{
    if (!RefTNos.inf_binds || !RefTNos.inf_binds[i]) return;
    const short* ata = SavedAta;
    for (Binding* b : *RefTNos.inf_binds[i]) {
        NewM = nullptr;
        b->FireInf(ata, InfTrans[i]->GetNo(), NewM, NewD);
        MakeNewSet();
        b->CpyActToNew();
    }
}

void ChkAndFireInf(unsigned short i)
{
    RefTNos.inf[i] = 0;
    RefTNos.DelInfBind(i);
    Transition* t = InfTrans[i];
    if (!t->IsActEnabled() || !t->GetBindings()) return;
    const short* ata = SavedAta;
    for (PLElement<Binding>* e = t->GetBindings()->first; e; e = e->next) {
        Binding* b = e->item;
        NewM = nullptr;
        b->ChkAndFireInf(ata, t->GetNo(), NewM, NewD);
        if (NewM) {
            MakeNewSet();
            RefTNos.inf[i] = 1;
            RefTNos.AddInfBind(b, i);
        }
        b->CpyActToNew();
    }
}
