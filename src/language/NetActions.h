// Grammar actions that build the objects of the net: places, transitions,
// bindings, arcs, delays and the socket/port pairs of sub-transitions. Every
// function takes over the values it is given and deletes what it copies.
#pragma once

#include "foundation/PtrList.h"
#include "foundation/Str.h"
#include "language/ParserValues.h"
#include "netmodel/Arc.h"
#include "netmodel/Binding.h"
#include "netmodel/Capacity.h"
#include "netmodel/Condition.h"
#include "netmodel/Deterministic.h"
#include "netmodel/Exponential.h"
#include "netmodel/General.h"
#include "netmodel/Immediate.h"
#include "netmodel/Place.h"
#include "netmodel/Transition.h"
#include "netmodel/UniForm.h"

// A place with the next place number; the initial marking is the value of
// `marking`, evaluated once.
Place* NewPlace(Str* name, KindOfCap kind, Cell* capacity, Cell* marking);

Condition* NewCondition(Cell* cell);

// Checks and counts the delay kinds of the bindings, then builds the
// transition (without a guard its condition is true).
Transition* NewTransition(Str* name, ServerType server, Condition* guard,
                          PtrList<Binding>* bindings);

// A binding with weight 1.0 unless one is given (it must be positive) and
// the condition true unless a guard is given.
Binding* NewBinding(Condition* guard, ArcPair arcs, const double* weight, Delay* delay);

void AddArc(PtrList<Arc>*& list, Arc* arc);
// An arc to a place of the current page (a port stands for its socket);
// `wrongPage` is the message for a place of another page.
Arc* NewArc(Str* place, Cell* inscription, const char* wrongPage);

template <class CellDelayClass>
Delay* NewCellDelay(Cell* cell)
{
    Delay* delay = new CellDelayClass(cell);
    delete cell;
    return delay;
}
// Both bounds must be constants, the lower not above the upper.
Delay* NewUniform(Cell* low, Cell* high);

// The head of a sub-transition: enters the sub-page below the current page
// and makes it the page of the ports that follow. Returns the name.
Str* OpenSubTransition(Str* name, Str* subPage);
void AddSocketPortPair(Str* socket, Str* port);
