// Binding of place and transition references, and the colour and capacity
// checks of arcs and initial markings.
#include "language/ClassCheck.h"

#include <memory>
#include <string>
#include <unordered_map>

#include "foundation/Reporters.h"
#include "foundation/RunState.h"
#include "language/NameLookup.h"
#include "language/NetWalk.h"
#include "netmodel/Definition.h"
#include "netmodel/Registries.h"
#include "netmodel/ShowClasses.h"
#include "netmodel/SocketPortPair.h"

namespace {

const Str kNoName("");

// Place headers and transitions by name, indexed once per check: a net has
// as many references to look up as it has expressions and measures.
class NetNames {
public:
    NetNames()
    {
        for (auto* e = SocketPortPairRefs.first; e; e = e->next)
            if (e->item->GetSocket() && e->item->GetSocket()->GetPlaceHeader())
                ports.emplace(NameKey(e->item->GetPort().GetString()),
                              e->item->GetSocket()->GetPlaceHeader());
        for (auto* e = PlaceRefs.first; e; e = e->next)
            places.emplace(NameKey(e->item->GetName().GetString()), e->item->GetPlaceHeader());
        for (PtrList<Transition>* list :
             {&ExclusiveTransitions, &ImmediateTransitions, &InfiniteTransitions})
            for (auto* e = list->first; e; e = e->next)
                transitions.emplace(NameKey(e->item->GetName()), e->item);
    }

    // The header a place reference names: the socket's when the name is a
    // port, else the header of the place of that name.
    PlaceHeader* Header(const Str& name) const
    {
        auto port = ports.find(NameKey(name));
        if (port != ports.end()) return port->second;
        auto place = places.find(NameKey(name));
        return place == places.end() ? nullptr : place->second;
    }

    Transition* TransitionNamed(const Str& name) const
    {
        auto found = transitions.find(NameKey(name));
        return found == transitions.end() ? nullptr : found->second;
    }

private:
    std::unordered_map<std::string, PlaceHeader*> ports;
    std::unordered_map<std::string, PlaceHeader*> places;
    std::unordered_map<std::string, Transition*> transitions;
};

void SetTransNo(Cell& cell, const NetNames& names)
{
    Str name;
    if (Cell* argument = cell.GetCell1())
        name = std::unique_ptr<CellVal>(argument->Calculate())->GetString();
    Transition* t = nullptr;
    if (!name.IsNull() && name.Length() > 0) t = names.TransitionNamed(name);
    if (!t)
        SubErr(112, "SetTransNo()", "can't substitude transitionname in rating cell", name,
               kNoName);
    cell.SetCell2(t->GetNo());
}

void SubInCells(Cell* cell, const Str& owner, const NetNames& names)
{
    if (!cell) return;
    switch (cell->GetCellType()) {
        case ConstValCell:
            return;
        case UnaerOpCell:
        case BinaerOpCell:
            for (Cell* operand : Operands(*cell)) SubInCells(operand, owner, names);
            return;
        case FunctionCell: {
            PlaceHeader* reference = cell->GetPlaceHeader();
            Str name = reference ? reference->GetName().GetString() : kNoName;
            PlaceHeader* header = names.Header(name);
            if (!header) SubErr(64, "SubInCells()", "can't get place", name, owner);
            cell->SetPH(header);
            return;
        }
        case RatingCellCell:
            if (cell->GetRatingType() == Throughput)
                SetTransNo(*cell, names);
            else
                for (Cell* operand : Operands(*cell)) SubInCells(operand, owner, names);
            return;
        default:
            SubErr(88, "SubInCells()", "unexpected cell", kNoName, owner);
    }
}

void SubArcs(const PtrList<Arc>* arcs, const Str& owner, const NetNames& names)
{
    ForEachItem(arcs, [&](Arc& a) { SubInCells(a.GetTmsCell(), owner, names); });
}

// The colours a plain token (number 0) may have on a place of type `pt`;
// `wrongType` is the message for a token of the other kind.
void CheckColours(const Tms* tokens, PlaceType pt, int line, const char* function,
                  const char* wrongType, const char* noType, const Str& place, const Str& owner)
{
    for (const ltoken* e = tokens ? tokens->first : nullptr; e; e = e->next) {
        if ((pt == ElementaryPlace && e->token != 0) || (pt == ObjectPlace && e->token == 0))
            SubErr(line, function, wrongType, place, owner);
        if (pt != ElementaryPlace && pt != ObjectPlace)
            SubErr(line + 1, function, noType, place, owner);
    }
}

void ColorChk(Cell* cell, PlaceType pt, const Str& place, const Str& owner)
{
    if (!cell) return;
    switch (cell->GetCellType()) {
        case ConstValCell: {
            std::unique_ptr<CellVal> value(cell->Calculate());
            CheckColours(value->GetTms(), pt, 203, "ColorChk()", "arccolor != placetype",
                         "no arccolor defined", place, owner);
            return;
        }
        case FunctionCell:
            if (cell->GetPlaceHeader()->GetPT() != pt)
                SubErr(215, "ColorChk()", "arccolor != placetype", place, owner);
            return;
        default:
            for (Cell* operand : Operands(*cell)) ColorChk(operand, pt, place, owner);
    }
}

void ChkArcs(const PtrList<Arc>* arcs, const Str& owner)
{
    ForEachItem(arcs, [&](Arc& a) {
        Place& place = *a.GetPlace();
        const Str& name = place.GetName().GetString();
        ColorChk(a.GetTmsCell(), place.GetPT(), name, owner);
        if (!place.TmsCapacityOk())
            SubErr(160, "SubAndChkArcs()", "capacity < initial marking", name, owner);
        CheckColours(place.GetTms(), place.GetPT(), 165, "SubAndChkArcs()",
                     "initial marking != placetype", "no initial marking color", name, owner);
    });
}

void CheckTransition(Transition& t, const NetNames& names)
{
    const Str& owner = t.GetName();
    t.ClassChk();
    SubInCells(t.GetGlobalCond().GetCell(), owner, names);
    ForEachItem(t.GetBindings(), [&](Binding& b) {
        SubArcs(b.GetInArcs(), owner, names);
        SubArcs(b.GetOutArcs(), owner, names);
        SubInCells(b.GetLocalCond().GetCell(), owner, names);
        SubInCells(b.GetDelay()->GetCell(), owner, names);
    });
    t.EvalCellVars();
    ForEachItem(t.GetBindings(), [&](Binding& b) {
        ChkArcs(b.GetInArcs(), owner);
        ChkArcs(b.GetOutArcs(), owner);
    });
}

}  // namespace

void ChkSubAndEvalTransitions()
{
    NetNames names;
    for (PtrList<Transition>* list :
         {&ImmediateTransitions, &ExclusiveTransitions, &InfiniteTransitions})
        ForEachItem(list, [&](Transition& t) { CheckTransition(t, names); });
}

void ClassCheck()
{
    // The net as parsed, before anything is bound or checked.
    if (SHOW_SPECIALS) ShowClasses();
    ChkSubAndEvalTransitions();
    NetNames names;
    ForEachItem(&EvalRefs, [&](Definition& d) { SubInCells(d.GetVal(), d.GetName(), names); });
    Tms2PTms();
    SetTransitionDependencies();
}
