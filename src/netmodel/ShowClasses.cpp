// The class listing of the parsed net.
#include "netmodel/ShowClasses.h"

#include <iostream>

#include "foundation/Framing.h"
#include "netmodel/CellListing.h"
#include "netmodel/Definition.h"
#include "netmodel/Page.h"
#include "netmodel/Registries.h"
#include "netmodel/Transition.h"
#include "statedata/TDep.h"

namespace {

const char* PlaceTypeName(PlaceType t)
{
    switch (t) {
        case ElementaryPlace:
            return "elementary";
        case ObjectPlace:
            return "object";
        default:
            return "unknown";
    }
}

void ShowDefinitions()
{
    START("DEFINITIONS");
    if (DefinitionRefs.count == 0) std::cout << "no definitions !!!\n";
    for (PLElement<Definition>* d = DefinitionRefs.first; d; d = d->next) {
        if (d != DefinitionRefs.first) DELIMITER("");
        std::cout << "Name  : " << d->item->GetName().GetCChar() << "\n"
                  << "Value : cell\n";
        ShowCell(d->item->GetVal());
    }
    STOP("DEFINITIONS");
}

void ShowPages()
{
    START("PAGES");
    if (PageRefs.count == 0) std::cout << "no pages !!!\n";
    for (PLElement<Page>* p = PageRefs.first; p; p = p->next) {
        std::cout << "Name    : " << p->item->GetName().GetCChar() << "\n";
        PtrList<Textual>* subPages = p->item->GetSubPages();
        if (!subPages || subPages->count == 0) std::cout << "SubPage : no subpages\n";
        if (subPages)
            for (PLElement<Textual>* s = subPages->first; s; s = s->next)
                std::cout << "SubPage : " << s->item->GetString().GetCChar() << "\n";
    }
    STOP("PAGES");
}

void ShowPlaces()
{
    START("PLACES");
    if (PlaceRefs.count == 0) std::cout << "no places !!!\n";
    for (PLElement<Place>* e = PlaceRefs.first; e; e = e->next) {
        Place& p = *e->item;
        std::cout << "No.       : " << p.GetNo() << "\n"
                  << "Name      : " << p.GetName().GetString().GetCChar() << "\n"
                  << "Type      : " << PlaceTypeName(p.GetPT()) << "\n"
                  << "Capacity  : cell\n";
        ShowCell(p.GetCapacity().GetCell());
        std::cout << "Marking   : tokenmultiset\n";
        ShowTms(p.GetTms());
    }
    STOP("PLACES");
}

// A constant inscription is shown as its multiset, any other as its
// expression: it reads a marking.
void ShowArcs(const PtrList<Arc>* arcs)
{
    if (!arcs || arcs->count == 0) {
        std::cout << "empty arcs !!!\n";
        return;
    }
    for (PLElement<Arc>* a = arcs->first; a; a = a->next) {
        const Place* place = a->item->GetPlace();
        std::cout << "PlaceName : "
                  << (place ? place->GetName().GetString().GetCChar() : "not defined") << "\n"
                  << "Marking   : tokenmultiset\n";
        const Cell* cell = a->item->GetTmsCell();
        if (cell && cell->GetCellType() == ConstValCell)
            ShowTms(cell->GetConstTms());
        else
            ShowCell(cell);
    }
}

void ShowBindings(const PtrList<Binding>* bindings)
{
    if (!bindings || bindings->count == 0) {
        std::cout << "no bindings !!!\n";
        return;
    }
    for (PLElement<Binding>* e = bindings->first; e; e = e->next) {
        Binding& b = *e->item;
        std::cout << "Weight    : " << b.GetWeight() << "\n"
                  << "DelayType : " << DelayTypeName(b.GetDelayType()) << "\n"
                  << "Delay     : cell\n";
        ShowCell(b.GetDelay() ? b.GetDelay()->GetCell() : nullptr);
        std::cout << "LocalCond : cell\n";
        ShowCell(b.GetLocalCond().GetCell());
        std::cout << "InArcs     : arcs\n";
        ShowArcs(b.GetInArcs());
        std::cout << "OutArcs    : arcs\n";
        ShowArcs(b.GetOutArcs());
    }
}

void ShowTransitionList(PtrList<Transition>& list, const char* type, bool server)
{
    for (PLElement<Transition>* e = list.first; e; e = e->next) {
        Transition& t = *e->item;
        std::cout << "No.    : " << t.GetNo() << "\n"
                  << "Name   : " << t.GetName().GetCChar() << "\n"
                  << "Type   : " << type << "\n";
        if (server) std::cout << "Server : " << t.GetServerType() << "\n";
        std::cout << "GCond  : cell\n";
        ShowCell(t.GetGlobalCond().GetCell());
        std::cout << "Binds  : bindings\n";
        ShowBindings(t.GetBindings());
    }
}

void ShowTransitions()
{
    START("TRANSITIONS");
    if (ImmediateTransitions.count + ExclusiveTransitions.count + InfiniteTransitions.count == 0)
        std::cout << "no transitions !!!\n";
    ShowTransitionList(ImmediateTransitions, "immediate", false);
    ShowTransitionList(ExclusiveTransitions, "exclusive", false);
    ShowTransitionList(InfiniteTransitions, "infinite", true);
    STOP("TRANSITIONS");
}

// The records exist once the class check has made them.
void ShowDependencies()
{
    START("TRANSITIONS DEPENDENCIES");
    int transitions =
        ImmediateTransitions.count + ExclusiveTransitions.count + InfiniteTransitions.count;
    for (int k = 1; k <= transitions; ++k) {
        std::cout << "\ttransition dependencies for transition with global no " << k << "\n";
        if (RefTDep && RefTDep[k - 1]) RefTDep[k - 1]->Print();
    }
    STOP("TRANSITIONS DEPENDENCIES");
}

}  // namespace

void ShowClasses()
{
    ShowDefinitions();
    ShowPages();
    ShowPlaces();
    ShowTransitions();
    ShowDependencies();
}
