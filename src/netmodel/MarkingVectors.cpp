// Marking vectors from and into the place contents.
#include "netmodel/MarkingVectors.h"

#include <utility>

#include "netmodel/EnablingSets.h"
#include "netmodel/NetArrays.h"
#include "netmodel/Place.h"
#include "statespace/data/Marking.h"
#include "statespace/data/NetCounts.h"

namespace {

template <class Load, class Empty>
void LoadPlaces(const Pms& pms, Load load, Empty empty)
{
    int j = 0;
    for (int i = 0; i < no_of_places; ++i) {
        Place* p = PlaceArray[i];
        if (j < pms.size && pms.places && pms.places[j].place == i)
            load(*p, pms.places[j++]);
        else
            empty(*p);
    }
}

template <class Contents>
void FillFromPlaces(Pms& pms, Contents contents)
{
    fill_pms(pms, no_of_places, [contents](int i) {
        Place* p = PlaceArray[i];
        return std::pair<int, const PTms*>(p->GetNo(), contents(*p));
    });
}

}  // namespace

void InitRefPms(const Pms& pms)
{
    LoadPlaces(
        pms, [](Place& p, const MTms& m) { p.InitPTms(m); }, [](Place& p) { p.Init(); });
}

void InitActPms(const Pms& pms)
{
    LoadPlaces(
        pms, [](Place& p, const MTms& m) { p.InitActTms(m); }, [](Place& p) { p.InitAct(); });
}

void MakeActPms(Pms& pms)
{
    FillFromPlaces(pms, [](Place& p) -> const PTms* { return p.GetActTms(); });
}

void MakeNewPms(Pms& pms)
{
    FillFromPlaces(pms, [](Place& p) -> const PTms* { return p.GetNewTms(); });
}

Marking* MakeSuccessorMarking(const short* ata, int transNo)
{
    auto* m = new Marking();
    MakeNewPms(m->GetPms());
    m->GetAta() = MakeNewAta(ata, static_cast<short>(transNo - 1));
    return m;
}
