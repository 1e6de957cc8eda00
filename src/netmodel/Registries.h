// The process-wide registries of the parsed net. The parser fills them, the
// class check and the generation read them; they own the net objects for
// the whole run (the class lists of transitions only refer to them).
#pragma once

#include "foundation/PtrList.h"

class Token;
class Place;
class Definition;
class Page;
class SocketPortPair;
class Textual;
class Transition;

extern PtrList<Token> TokenRefs;  // a token number is the 1-based position here
extern PtrList<Place> PlaceRefs;
extern PtrList<Place> PlaceCapDepRefs;  // places whose capacity reads a marking
extern PtrList<Definition> DefinitionRefs;
extern PtrList<Definition> EvalRefs;  // the performance measures
extern PtrList<Page> PageRefs;
extern PtrList<SocketPortPair> SocketPortPairRefs;
extern PtrList<Textual> TransitionNames;
extern PtrList<Transition> ExclusiveTransitions;
extern PtrList<Transition> InfiniteTransitions;
extern PtrList<Transition> ImmediateTransitions;
extern PtrList<Transition> GeneralTransitions;
