// Walks over the parsed net in list order: the transitions of a class list,
// the bindings of a transition, the arcs of a binding (input arcs first).
// The orders decide the order of the entries the class check computes.
#pragma once

#include <array>

#include "foundation/PtrList.h"
#include "netmodel/Arc.h"
#include "netmodel/Binding.h"
#include "netmodel/Transition.h"

// The classes of transitions, by class code.
enum TransType : int { ExclusiveClass = 0, InfiniteClass = 1, ImmediateClass = 2 };

template <class T, class Visit>
void ForEachItem(const PtrList<T>* list, Visit visit)
{
    for (PLElement<T>* e = list ? list->first : nullptr; e; e = e->next) visit(*e->item);
}

// Calls visit(transition, class index) for every transition of the list.
template <class Visit>
void ForEachTransition(const PtrList<Transition>& list, Visit visit)
{
    unsigned short index = 0;
    for (PLElement<Transition>* e = list.first; e; e = e->next) visit(*e->item, index++);
}

template <class Visit>
void ForEachArc(const Binding& b, Visit visit)
{
    ForEachItem(b.GetInArcs(), visit);
    ForEachItem(b.GetOutArcs(), visit);
}

// Every arc of every binding of t, input arcs of a binding first.
template <class Visit>
void ForEachArc(const Transition& t, Visit visit)
{
    ForEachItem(t.GetBindings(), [&](const Binding& b) { ForEachArc(b, visit); });
}

// The operand cells of an operator or measure: the operand, or the left
// then the right one, or the two arguments of a measure; a missing one (and
// every one of a leaf) is null. The walks over expressions recurse through
// these directly, one frame per level of the tree.
inline std::array<Cell*, 2> Operands(Cell& cell)
{
    switch (cell.GetCellType()) {
        case UnaerOpCell:
            return {cell.GetOpd(), nullptr};
        case BinaerOpCell:
            return {cell.GetLeftOpd(), cell.GetRightOpd()};
        case RatingCellCell:
            return {cell.GetCell1(), cell.GetCell2()};
        default:
            return {nullptr, nullptr};
    }
}
