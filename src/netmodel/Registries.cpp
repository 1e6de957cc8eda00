// Definitions of the net registries.
#include "netmodel/Registries.h"

#include "netmodel/Definition.h"
#include "netmodel/Page.h"
#include "netmodel/Place.h"
#include "netmodel/SocketPortPair.h"
#include "netmodel/Token.h"
#include "netmodel/Transition.h"

PtrList<Token> TokenRefs;
PtrList<Place> PlaceRefs;
PtrList<Place> PlaceCapDepRefs;
PtrList<Definition> DefinitionRefs;
PtrList<Definition> EvalRefs;
PtrList<Page> PageRefs;
PtrList<SocketPortPair> SocketPortPairRefs;
PtrList<Textual> TransitionNames;
PtrList<Transition> ExclusiveTransitions;
PtrList<Transition> InfiniteTransitions;
PtrList<Transition> ImmediateTransitions;
PtrList<Transition> GeneralTransitions;
