// Releasing a net built for a test and the net-wide tables made for it, so
// that the next test starts from nothing.
#pragma once

#include "netmodel/NetArrays.h"
#include "netmodel/Transition.h"
#include "statedata/NetCounts.h"
#include "statedata/TDep.h"
#include "statedata/TNos.h"

// A transition owns its binding list, each binding its arc lists.
inline void ReleaseTransition(Transition* t)
{
    PtrList<Binding>* bindings = t->GetBindings();
    for (auto* b = bindings ? bindings->first : nullptr; b; b = b->next)
        for (PtrList<Arc>* arcs : {b->item->GetInArcs(), b->item->GetOutArcs()})
            if (arcs) {
                arcs->HardClear();
                delete arcs;
            }
    if (bindings) bindings->HardClear();
    delete bindings;
    delete t;
}

inline void ReleaseTransitions(PtrList<Transition>& list)
{
    for (auto* e = list.first; e; e = e->next) ReleaseTransition(e->item);
    list.SoftClear();
}

// The arrays of places and transitions by class, the dependency records of
// `transitions` transitions, the working set and the counts.
inline void ResetNetTables(int transitions)
{
    for (int k = 0; RefTDep && k < transitions; ++k) delete RefTDep[k];
    delete[] RefTDep;
    RefTDep = nullptr;
    for (Transition*** array : {&ExcTrans, &ImmTrans, &InfTrans}) {
        delete[] * array;
        *array = nullptr;
    }
    delete[] PlaceArray;
    PlaceArray = nullptr;
    no_of_places = no_of_exc_transitions = no_of_imm_transitions = no_of_inf_transitions = 0;
    no_of_trans = no_of_exp_transitions = no_of_det_transitions = no_of_gen_transitions = 0;
    no_of_mix_transitions = 0;
    RefTNos = TNos();  // sized by the counts, now none
}
