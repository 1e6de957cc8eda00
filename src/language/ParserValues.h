// The semantic values of the parser: pointers to the objects the actions
// build (each owned by the value until an action takes it over), numbers,
// and the two arc lists of a binding.
#pragma once

#include "foundation/PtrList.h"
#include "foundation/Str.h"

class Arc;
class Binding;
class Cell;
class Condition;
class Definition;
class Delay;
class Page;
class Place;
class Transition;

// The input and output arcs of a binding; a list exists once the binding
// has an arc of its direction.
struct ArcPair {
    PtrList<Arc>* in;
    PtrList<Arc>* out;
};
