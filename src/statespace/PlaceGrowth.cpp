// Classification of the places from the transitions and capacities of the
// net (the class arrays of the generation).
#include "statespace/PlaceGrowth.h"

#include "foundation/GraphLimits.h"
#include "netmodel/Binding.h"
#include "netmodel/NetArrays.h"
#include "netmodel/Place.h"
#include "netmodel/PlaceHeader.h"
#include "netmodel/Transition.h"
#include "statedata/NetCounts.h"

namespace {

void MarkPlacesReadBy(const Cell* cell, std::vector<PlaceGrowth>& kinds)
{
    if (!cell || !cell->IsPlaceDependent()) return;
    if (const PlaceHeader* ph = cell->GetConstPlaceHeader()) {
        int no = ph->GetNo();
        if (no >= 0 && no < static_cast<int>(kinds.size()) && kinds[no] == PlaceGrowth::Free)
            kinds[no] = PlaceGrowth::Watched;
    }
    for (const Cell* child :
         {cell->GetConstOpd(), cell->GetConstLeftOpd(), cell->GetConstRightOpd(),
          cell->GetConstCell1(), cell->GetConstCell2()})
        MarkPlacesReadBy(child, kinds);
}

void MarkPlace(const Place* place, std::vector<PlaceGrowth>& kinds)
{
    int no = place->GetNo();
    if (kinds[no] == PlaceGrowth::Free) kinds[no] = PlaceGrowth::Watched;
}

// An immediate transition takes priority over the timed ones as soon as its
// inputs are there, and a single-server transition with several bindings
// may choose another one when more inputs are there: both watch their
// input places, as every marking-dependent inscription watches what it
// reads and where it takes from.
void MarkTransition(Transition& t, bool watchInputs, std::vector<PlaceGrowth>& kinds)
{
    MarkPlacesReadBy(t.GetGlobalCond().GetCell(), kinds);
    PtrList<Binding>* bindings = t.GetBindings();
    if (!bindings) return;
    for (PLElement<Binding>* b = bindings->first; b; b = b->next) {
        MarkPlacesReadBy(b->item->GetLocalCond().GetCell(), kinds);
        for (PtrList<Arc>* arcs : {b->item->GetInArcs(), b->item->GetOutArcs()}) {
            if (!arcs) continue;
            const bool input = arcs == b->item->GetInArcs();
            for (PLElement<Arc>* a = arcs->first; a; a = a->next) {
                const Cell* inscription = a->item->GetTmsCell();
                const bool dependent = inscription && inscription->IsPlaceDependent();
                MarkPlacesReadBy(inscription, kinds);
                if (input && (watchInputs || dependent)) MarkPlace(a->item->GetPlace(), kinds);
            }
        }
    }
}

PlaceGrowth OwnKind(Place& place)
{
    Capacity& cap = place.GetCapacity();
    if (cap.GetKind() == DefaultCap) return PlaceGrowth::Free;
    if (cap.GetKind() == BoolCap || cap.IsPlaceDependent()) return PlaceGrowth::Capped;
    return cap.GetCap() < static_cast<int>(kLargestQuantity) ? PlaceGrowth::Capped
                                                             : PlaceGrowth::Free;
}

}  // namespace

std::vector<PlaceGrowth> ClassifyPlaces()
{
    std::vector<PlaceGrowth> kinds(no_of_places);
    for (int i = 0; i < no_of_places; ++i) kinds[i] = OwnKind(*PlaceArray[i]);
    for (int i = 0; i < no_of_places; ++i) {
        Capacity& cap = PlaceArray[i]->GetCapacity();
        if (cap.GetKind() != DefaultCap) MarkPlacesReadBy(cap.GetCell(), kinds);
    }
    for (int i = 0; i < no_of_exc_transitions; ++i) {
        PtrList<Binding>* bindings = ExcTrans[i]->GetBindings();
        MarkTransition(*ExcTrans[i], bindings && bindings->count > 1, kinds);
    }
    for (int i = 0; i < no_of_inf_transitions; ++i) MarkTransition(*InfTrans[i], false, kinds);
    for (int i = 0; i < no_of_imm_transitions; ++i) MarkTransition(*ImmTrans[i], true, kinds);
    return kinds;
}
