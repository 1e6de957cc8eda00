// Release and reset of the registries, the name context, the scanner, the
// class check's results and the net-wide tables.
#include "ReaderReset.h"

#include "NetRelease.h"

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
#include "statedata/NetCounts.h"
#include "statedata/StateSpaceGlobals.h"
#include "statedata/TDep.h"
#include "statedata/TNos.h"

int yylex_destroy();

namespace {

template <class T>
void DeleteItems(PtrList<T>& list)
{
    for (auto* e = list.first; e; e = e->next) delete e->item;
    list.SoftClear();
}

void Forget(Str*& s)
{
    delete s;
    s = nullptr;
}

}  // namespace

void ResetReader()
{
    GeneralTransitions.SoftClear();
    ReleaseTransitions(ExclusiveTransitions);
    ReleaseTransitions(InfiniteTransitions);
    ReleaseTransitions(ImmediateTransitions);
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
    ResetNetTables(no_of_trans);
    std::fill(std::begin(MCount), std::end(MCount), 0u);
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
