// Pages, places, definitions and sub-transition names.
#include "language/Registration.h"

#include "language/NameContext.h"
#include "language/NameLookup.h"
#include "language/ReaderReports.h"
#include "netmodel/Definition.h"
#include "netmodel/Page.h"
#include "netmodel/Place.h"
#include "netmodel/Registries.h"
#include "netmodel/SocketPortPair.h"

int place_no = 1;

// Places are numbered and counted in 16 signed bits in the state space.
constexpr int kMaxPlaces = 32767;

namespace {

bool IsEmpty(const Str* s)
{
    return !s || s->IsNull() || s->Length() == 0;
}

bool IsListedAsSubPage(const Str& name)
{
    for (auto* e = PageRefs.first; e; e = e->next)
        if (e->item->IsSubPage(name)) return true;
    return false;
}

}  // namespace

Page* CheckAndSavePage(const Str* name)
{
    if (IsEmpty(name)) YaccError("CheckAndSavePage(): pagename is NULL-pointer");
    if (*name == kRootName) {
        if (root_found) YaccError("double definition of root-page");
        root_found = 1;
    } else {
        if (!root_found) YaccError("subpage definition before root page definition");
        if (!IsListedAsSubPage(*name)) YaccError("subpage is not referenced before its definition");
    }
    MakeActualPageName(name);
    if (FindPage(*name)) YaccError("page exists");
    auto* page = new Page(*name);
    PageRefs.Append(page);
    return page;
}

void SavePlace(Place* place, PlaceType type)
{
    place->SetPT(type);
    if (FindPort(place->GetName().GetString())) {
        delete place->GetPlaceHeader();
        delete place;
        return;
    }
    if (FindPlace(place->GetName().GetString())) YaccError("place exists");
    if (PlaceRefs.count >= kMaxPlaces) YaccError("too many places (max = 32767)");
    PlaceRefs.Append(place);
    if (place->GetCapacity().IsPlaceDependent()) PlaceCapDepRefs.Append(place);
}

void SaveDefinition(Definition* d)
{
    if (FindDefinition(d->GetName()))
        YaccError("definition already exists in this net", &d->GetName());
    DefinitionRefs.Append(d);
}

void SaveSubTransition(const Str* name)
{
    if (IsEmpty(name)) YaccError("SaveSubTransition(): transitionname is NULL-pointer");
    if (FindTransitionName(*name)) YaccError("transitionname already exists in this net");
    TransitionNames.Append(new Textual(*name));
}

Place* GetPlaceRef(const Str& name)
{
    if (name.IsNull()) YaccError("GetPlaceRef(): can't get placeref, placename is NULL-pointer");
    if (PlaceRefs.count == 0) YaccError("GetPlaceRef(): can't get placeref, no places stored");
    if (Place* place = FindPlace(name)) return place;
    if (SocketPortPair* pair = FindPort(name)) return pair->GetSocket();
    YaccError("can't get placeref, placename not found");
}

Place* CheckIfPortGetRef(const Str& name)
{
    if (name.IsNull())
        YaccError("CheckIfPortGetRef(): can't get placeref, placename is NULL-pointer");
    if (SocketPortPair* pair = FindPort(name)) return pair->GetSocket();
    return GetPlaceRef(name);
}

Str CheckIfPortGetName(const Str* name)
{
    if (IsEmpty(name))
        YaccError("CheckIfPortGetName(): can't get placeref, placename is NULL-pointer");
    if (SocketPortPair* pair = FindPort(*name)) return pair->GetSocket()->GetName().GetString();
    return *name;
}
