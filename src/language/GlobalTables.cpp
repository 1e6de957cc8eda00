// Net-wide tables from the registries the parser filled.
#include "language/GlobalTables.h"

#include <iterator>

#include "netmodel/NetArrays.h"
#include "netmodel/Place.h"
#include "netmodel/Registries.h"
#include "netmodel/Transition.h"
#include "statedata/NetCounts.h"
#include "statedata/StateSpaceGlobals.h"
#include "statedata/TNos.h"

namespace {

// The transitions of one class in list order; null for an empty class.
Transition** ClassArray(const PtrList<Transition>& list)
{
    if (list.count == 0) return nullptr;
    auto** array = new Transition*[list.count];
    unsigned short i = 0;
    for (auto* e = list.first; e; e = e->next, ++i) {
        array[i] = e->item;
        e->item->SetFieldPos(static_cast<unsigned short>(i + 1));
    }
    return array;
}

}  // namespace

void InitGlobalVars()
{
    no_of_places = static_cast<unsigned short>(PlaceRefs.count);
    no_of_exc_transitions = static_cast<unsigned short>(ExclusiveTransitions.count);
    no_of_imm_transitions = static_cast<unsigned short>(ImmediateTransitions.count);
    no_of_inf_transitions = static_cast<unsigned short>(InfiniteTransitions.count);

    PlaceArray = new Place*[no_of_places];
    int i = 0;
    for (auto* e = PlaceRefs.first; e; e = e->next, ++i) {
        PlaceArray[i] = e->item;
        e->item->GetPlaceHeader()->SetNo(i);
    }
    ExcTrans = ClassArray(ExclusiveTransitions);
    ImmTrans = ClassArray(ImmediateTransitions);
    InfTrans = ClassArray(InfiniteTransitions);

    RefTNos = TNos();

    for (int counter = 0; counter < static_cast<int>(std::size(MCount)); ++counter)
        if (counter != kCountGen) MCount[counter] = 0;
    MLists.det_smcs = DetMarkingSMChains;
    MLists.gen_smcs = GenMarkingSMChains;
}
