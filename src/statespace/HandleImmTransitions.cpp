// Expansion of the vanishing graph of one explored marking.
#include "statespace/HandleImmTransitions.h"

#include <vector>

#include "foundation/Reporters.h"
#include "netmodel/EnablingSets.h"
#include "netmodel/MarkingVectors.h"
#include "netmodel/NetArrays.h"
#include "netmodel/Transition.h"
#include "statespace/GenerationState.h"
#include "statespace/GraphWalk.h"
#include "statedata/NetCounts.h"
#include "statedata/PendingMarking.h"
#include "statedata/StateSpaceGlobals.h"
#include "statedata/TNos.h"

NPMarking* SavedMark = nullptr;

namespace {

// The successors of the marking being fired, and per immediate transition
// its transition number when it is enabled there (0 otherwise).
PtrList<NPMarking>* NewNPMarks = nullptr;
std::vector<unsigned short> imm_field;

// Fires the immediate transitions by what RefTNos knows of them; answers
// the sum of the weights of the bindings that fired.
double FireImmediateTransitions()
{
    double sum = 0.0;
    imm_field.assign(no_of_imm_transitions, 0);
    for (unsigned short i = 0; i < no_of_imm_transitions; ++i) {
        imm_field[i] = static_cast<unsigned short>(ImmTrans[i]->GetNo());
        switch (RefTNos.imm[i]) {
            case -1:
                if (ImmTrans[i]->ChkAndFireImm(NewNPMarks, sum, i)) {
                    RefTNos.imm[i] = 1;
                } else {
                    RefTNos.imm[i] = 0;
                    imm_field[i] = 0;
                }
                break;
            case 1:
                ImmTrans[i]->FireImm(NewNPMarks, sum, i);
                break;
            default:
                imm_field[i] = 0;
                break;
        }
    }
    return sum;
}

// A successor reached again: what is known here about the immediate
// transitions enabled here no longer holds for it.
void ForgetEnabledHere(TNos& set)
{
    for (unsigned short j = 0; j < no_of_imm_transitions; ++j) {
        if (RefTNos.imm[j] == 0) continue;
        set.imm[j] = -1;
        set.DelImmBind(j);
    }
}

void MarkFiredUnknown(TNos& set, unsigned short i)
{
    if (imm_field[i] != 0) ModTNos(set, static_cast<short>(imm_field[i] - 1));
}

}  // namespace

void HandleImmTransitions(short& init_again)
{
    RefTNos = *NewTNos;
    InitRefPms(NewMarking->GetPms());
    NPMarking root(1.0);
    CreateImmRG(root, init_again);
    Reduce(root);
    CheckActTransArrays();
    NPMHash.CleanHash();
}

void CreateImmRG(NPMarking& node, short& init_again)
{
    ChkAndFireImm(node);
    WalkDepthFirst(node, [&init_again](NPMarking&, npstt& e) {
        NPMarking& target = *e.Target();
        if (target.GetStt()) return false;
        init_again = 1;
        RefTNos = *target.GetTNos();
        InitRefPms(target.GetPms());
        ChkAndFireImm(target);
        return true;
    });
}

void ChkAndFireImm(NPMarking& node)
{
    double sum = FireImmediateTransitions();
    if (!NewNPMarks || NewNPMarks->count == 0) return;
    if (sum <= 0.0) ImmErr(244, "ChkAndFireImm()", "division by zero");
    for (PLElement<NPMarking>* e = NewNPMarks->first; e; e = e->next) {
        NPMarking& n = *e->item;
        n.CreateKey();
        bool found = false;
        SavedMark = NPMHash.Save(&n, found);
        unsigned short fired = n.GetNo();
        TNos*& set = SavedMark->GetTNos();
        if (found) {
            ForgetEnabledHere(*set);
            MarkFiredUnknown(*set, fired);
            MakeDelay(sum, node, n.GetDelayVal());
        } else {
            set = new TNos(RefTNos);
            MarkFiredUnknown(*set, fired);
            MakeDelay(sum, node, 0.0);
        }
    }
    NewNPMarks->HardClear();
}

void MakeDelay(double sum, NPMarking& parent, double weight)
{
    EndlessLoop(parent, *SavedMark);
    double share;
    if (weight != 0.0) {
        share = weight / sum;
        ChangeAllDelays(*SavedMark, SavedMark->GetDelayVal() + share * parent.GetDelayVal());
    } else {
        share = SavedMark->GetDelayVal() / sum;
        SavedMark->SetDelayVal(share * parent.GetDelayVal());
    }
    parent.AddMarking(*SavedMark, DelayVal(share, kDelayImmediate));
}

void ClearImm()
{
    for (ReachedMarking& r : ImmReached) {
        delete r.marking;
        delete r.set;
    }
    ImmReached.clear();
}
