// Lookups by full name in the registries the reader fills while it reads a
// description: global definitions, pages, the parameters of a page, places,
// the ports of sub-transitions, transition names and colours. Each goes
// through a hash index, so a description with many names costs no scan per
// name read.
#pragma once

#include <string>

#include "foundation/Str.h"

class Definition;
class Page;
class Place;
class SocketPortPair;
class Textual;
class Token;

// The key a name is indexed by; a null name is the empty key.
std::string NameKey(const Str& name);

Definition* FindDefinition(const Str& name);
Page* FindPage(const Str& name);
// The parameter of that name on the page, or null.
Definition* FindParameter(Page& page, const Str& name);
Place* FindPlace(const Str& name);
// The first socket/port pair of that port.
SocketPortPair* FindPort(const Str& port);
Textual* FindTransitionName(const Str& name);
// The token number of an equal colour already registered, or 0.
int FindColour(const Token& colour);

// Starts the indexes afresh, releasing all they hold: called at the start of
// every description.
void ForgetNameIndexes();
