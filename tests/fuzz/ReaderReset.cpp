// Release and reset of the registries, the name context, the scanner, the
// class check's results and the net-wide tables.
#include "ReaderReset.h"

#include <algorithm>
#include <iterator>

#include "language/DefinitionFiling.h"
#include "language/NameContext.h"
#include "language/NameLookup.h"
#include "language/Registration.h"
#include "language/ScannerState.h"
#include "language/TransitionRegistration.h"
#include "netmodel/NetArrays.h"
#include "netmodel/Page.h"
#include "netmodel/Registries.h"
#include "netmodel/SocketPortPair.h"
#include "netmodel/Token.h"
#include "netmodel/Transition.h"
#include "statespace/data/NetCounts.h"
#include "statespace/data/StateSpaceGlobals.h"
#include "statespace/data/TDep.h"
#include "statespace/data/TNos.h"

int yylex_destroy();

namespace {

template <class T>
void DeleteItems(PtrList<T>& list)
{
    for (auto* e = list.first; e; e = e->next) delete e->item;
    list.SoftClear();
}

void DeleteArcs(PtrList<Arc>* arcs)
{
    if (!arcs) return;
    arcs->HardClear();
    delete arcs;
}

// Transitions share nothing but their places: each owns its bindings, each
// binding its arc lists.
void DeleteTransitions(PtrList<Transition>& list)
{
    for (auto* e = list.first; e; e = e->next) {
        PtrList<Binding>* bindings = e->item->GetBindings();
        for (auto* b = bindings ? bindings->first : nullptr; b; b = b->next) {
            DeleteArcs(b->item->GetInArcs());
            DeleteArcs(b->item->GetOutArcs());
        }
        if (bindings) bindings->HardClear();
        delete bindings;
        delete e->item;
    }
    list.SoftClear();
}

void Forget(Str*& s)
{
    delete s;
    s = nullptr;
}

template <class T>
void FreeArray(T**& array)
{
    delete[] array;
    array = nullptr;
}

}  // namespace

void ResetReader()
{
    GeneralTransitions.SoftClear();
    DeleteTransitions(ExclusiveTransitions);
    DeleteTransitions(InfiniteTransitions);
    DeleteTransitions(ImmediateTransitions);
    TransitionNames.HardClear();
    PlaceCapDepRefs.SoftClear();
    for (auto* e = PlaceRefs.first; e; e = e->next) delete e->item->GetPlaceHeader();
    DeleteItems(PlaceRefs);
    SocketPortPairRefs.HardClear();
    TokenRefs.HardClear();
    DefinitionRefs.HardClear();
    EvalRefs.HardClear();
    PageRefs.HardClear();
    if (pending_parameters) pending_parameters->HardClear();
    delete pending_parameters;
    pending_parameters = nullptr;

    MLists.det_smcs.SoftClear();
    MLists.gen_smcs.SoftClear();
    DetMarkingSMChains.HardClear();
    GenMarkingSMChains.HardClear();
    for (unsigned short k = 0; RefTDep && k < no_of_trans; ++k) delete RefTDep[k];
    FreeArray(RefTDep);
    FreeArray(PlaceArray);
    FreeArray(ExcTrans);
    FreeArray(ImmTrans);
    FreeArray(InfTrans);
    RefTNos.Clear();
    std::fill(std::begin(MCount), std::end(MCount), 0u);

    no_of_places = no_of_exc_transitions = no_of_imm_transitions = no_of_inf_transitions = 0;
    no_of_trans = no_of_exp_transitions = no_of_det_transitions = no_of_gen_transitions = 0;
    no_of_mix_transitions = 0;
    place_no = 1;
    exc_no = 0;

    ForgetNameIndexes();
    Forget(ActDefinition);
    Forget(ActPageName);
    Forget(MasterPageName);
    Forget(ActSubPageName);
    root_found = 0;

    yylex_destroy();
    section = kBeforeDefinition;
    lcount = 1;
    Forget(ActCommend);
    description_ended = false;
}
