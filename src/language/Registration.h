// Registration of pages, places, definitions and sub-transitions in the
// registries, with their uniqueness checks, and the lookup of places through
// the socket/port pairs of sub-transitions.
#pragma once

#include "foundation/Str.h"
#include "netmodel/PlaceHeader.h"

class Definition;
class Page;
class Place;

extern int place_no;  // number of the next place, from 1

// The root page first, then sub-pages named by a sub-transition before.
Page* CheckAndSavePage(const Str* name);
// A place named like a port is the socket of the enclosing page: it is not
// registered (and is deleted).
void SavePlace(Place* place, PlaceType type);
void SaveDefinition(Definition* d);
void SaveSubTransition(const Str* name);

Place* GetPlaceRef(const Str& name);
// The socket place when name is a port, else the place of that name.
Place* CheckIfPortGetRef(const Str& name);
Str CheckIfPortGetName(const Str* name);
