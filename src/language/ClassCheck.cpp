// Binding of place and transition references, and the colour and capacity
// checks of arcs and initial markings.
#include "language/ClassCheck.h"

#include <memory>

#include "foundation/Reporters.h"
#include "foundation/RunState.h"
#include "language/NetWalk.h"
#include "netmodel/Definition.h"
#include "netmodel/Registries.h"
#include "netmodel/ShowClasses.h"
#include "netmodel/SocketPortPair.h"

namespace {

const Str kNoName("");

// The header a place reference names: the socket's when the name is a port,
// else the header of the place of that name.
PlaceHeader* FindHeader(const Str& name)
{
    for (auto* e = SocketPortPairRefs.first; e; e = e->next)
        if (e->item->GetPort() == name && e->item->GetSocket() &&
            e->item->GetSocket()->GetPlaceHeader())
            return e->item->GetSocket()->GetPlaceHeader();
    for (auto* e = PlaceRefs.first; e; e = e->next)
        if (e->item->GetName() == name) return e->item->GetPlaceHeader();
    return nullptr;
}

Transition* FindTransition(const PtrList<Transition>& list, const Str& name)
{
    for (auto* e = list.first; e; e = e->next)
        if (e->item->GetName() == name) return e->item;
    return nullptr;
}

void SetTransNo(Cell& cell)
{
    Str name;
    if (Cell* argument = cell.GetCell1())
        name = std::unique_ptr<CellVal>(argument->Calculate())->GetString();
    Transition* t = nullptr;
    if (!name.IsNull() && name.Length() > 0) {
        t = FindTransition(ExclusiveTransitions, name);
        if (!t) t = FindTransition(ImmediateTransitions, name);
        if (!t) t = FindTransition(InfiniteTransitions, name);
    }
    if (!t)
        SubErr(112, "SetTransNo()", "can't substitude transitionname in rating cell", name,
               kNoName);
    cell.SetCell2(t->GetNo());
}

void SubInCells(Cell* cell, const Str& owner)
{
    if (!cell) return;
    switch (cell->GetCellType()) {
        case ConstValCell:
            return;
        case UnaerOpCell:
        case BinaerOpCell:
            ForEachOperand(*cell, [&](Cell& c) { SubInCells(&c, owner); });
            return;
        case FunctionCell: {
            PlaceHeader* reference = cell->GetPlaceHeader();
            Str name = reference ? reference->GetName().GetString() : kNoName;
            PlaceHeader* header = FindHeader(name);
            if (!header) SubErr(64, "SubInCells()", "can't get place", name, owner);
            cell->SetPH(header);
            return;
        }
        case RatingCellCell:
            if (cell->GetRatingType() == Throughput)
                SetTransNo(*cell);
            else
                ForEachOperand(*cell, [&](Cell& c) { SubInCells(&c, owner); });
            return;
        default:
            SubErr(88, "SubInCells()", "unexpected cell", kNoName, owner);
    }
}

void SubArcs(const PtrList<Arc>* arcs, const Str& owner)
{
    ForEachItem(arcs, [&](Arc& a) { SubInCells(a.GetTmsCell(), owner); });
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
            ForEachOperand(*cell, [&](Cell& c) { ColorChk(&c, pt, place, owner); });
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

void CheckTransition(Transition& t)
{
    const Str& owner = t.GetName();
    t.ClassChk();
    SubInCells(t.GetGlobalCond().GetCell(), owner);
    ForEachItem(t.GetBindings(), [&](Binding& b) {
        SubArcs(b.GetInArcs(), owner);
        SubArcs(b.GetOutArcs(), owner);
        SubInCells(b.GetLocalCond().GetCell(), owner);
        SubInCells(b.GetDelay()->GetCell(), owner);
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
    for (PtrList<Transition>* list :
         {&ImmediateTransitions, &ExclusiveTransitions, &InfiniteTransitions})
        ForEachItem(list, CheckTransition);
}

void ClassCheck()
{
    // The net as parsed, before anything is bound or checked.
    if (SHOW_SPECIALS) ShowClasses();
    ChkSubAndEvalTransitions();
    ForEachItem(&EvalRefs, [](Definition& d) { SubInCells(d.GetVal(), d.GetName()); });
    Tms2PTms();
    SetTransitionDependencies();
}
