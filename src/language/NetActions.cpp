// Net objects of the grammar.
#include "language/NetActions.h"

#include <memory>

#include "language/NameContext.h"
#include "language/NameLookup.h"
#include "language/Parser.h"
#include "language/ReaderReports.h"
#include "language/Registration.h"
#include "language/TransitionRegistration.h"
#include "netmodel/Page.h"
#include "netmodel/Registries.h"
#include "netmodel/SocketPortPair.h"

Place* NewPlace(Str* name, KindOfCap kind, Cell* capacity, Cell* marking)
{
    std::unique_ptr<CellVal> tokens(marking ? marking->Calculate() : nullptr);
    auto* header = new PlaceHeader(place_no++, *name, tokens ? tokens->GetTms() : nullptr);
    auto* place = new Place(header, Capacity(kind, capacity));
    delete name;
    delete capacity;
    delete marking;
    return place;
}

Condition* NewCondition(Cell* cell)
{
    auto* condition = new Condition(cell);
    delete cell;
    return condition;
}

Transition* NewTransition(Str* name, ServerType server, Condition* guard,
                          PtrList<Binding>* bindings)
{
    CheckAndCountTransition(server, bindings);
    auto* transition = new Transition(*name, server, guard ? *guard : Condition(true), bindings);
    delete name;
    delete guard;
    return transition;
}

Binding* NewBinding(Condition* guard, ArcPair arcs, const double* weight, Delay* delay)
{
    if (weight && *weight <= 0.0) yyerror("unallowed weight");
    auto* binding = new Binding(guard ? *guard : Condition(true), weight ? *weight : 1.0, delay,
                                arcs.in, arcs.out);
    delete guard;
    delete delay;
    return binding;
}

void AddArc(PtrList<Arc>*& list, Arc* arc)
{
    if (!list)
        list = new PtrList<Arc>(arc);
    else
        list->Append(arc);
}

Arc* NewArc(Str* place, Cell* inscription, const char* wrongPage)
{
    if (!ActPageName || GetPath(place) != *ActPageName) YaccError(wrongPage, place);
    auto* arc = new Arc(CheckIfPortGetRef(*place), inscription);
    delete place;
    delete inscription;
    return arc;
}

Delay* NewUniform(Cell* low, Cell* high)
{
    if (low->IsPlaceDependent() || high->IsPlaceDependent())
        YaccError("placedependent uniform delay is not allowed");
    double begin = low->CalculateFloat();
    double end = high->CalculateFloat();
    if (begin > end) YaccError("timeinterval for uniform delay is not correct");
    delete low;
    delete high;
    return new UniForm(begin, end);
}

Str* OpenSubTransition(Str* name, Str* subPage)
{
    if (FindPage(*subPage)) YaccError("page loop in subtransition", subPage);
    Page* master = ActPageName ? FindPage(*ActPageName) : nullptr;
    if (!master) YaccError("master page of subtransition is not defined", subPage);
    master->AddSubPage(new Textual(*subPage));
    MakeActualSubPageName(subPage);
    delete subPage;
    return name;
}

void AddSocketPortPair(Str* socket, Str* port)
{
    auto* pair = new SocketPortPair(GetPlaceRef(*socket), MakePortName(port));
    if (SocketPortPairRefs.UAppend(pair) < 0) YaccError("socket port pair exists", socket);
    delete socket;
    delete port;
}
