// The name context that the scanner and the parser share, and the building
// of full names. A full name starts with the root page name "\__ROOT__" and
// adds one backslash and one component per page level; every name of the
// description is turned into one while it is read.
#pragma once

#include "foundation/Str.h"

extern const char* const kRootName;  // "\__ROOT__"

extern Str* ActDefinition;   // the definition or parameter being read
extern Str* ActPageName;     // the current page
extern Str* MasterPageName;  // the master page of the parameters being read
extern Str* ActSubPageName;  // the sub-page of the sub-transition being read
extern int root_found;

// Name building (called by the scanner; errors are lexical).
Str AddRoot(const char* text);
Str AddActPage(const char* text);
Str AddMaster(const char* text);
Str AddDefPath(const char* text);
// The name without its last component ("\" for a name with one backslash).
Str GetPath(const Str* s);

// Name building called by the parser (errors are grammatical).
Str StripOffPath(const Str* s);
Str MakePortName(const Str* s);

void MakeActualPageName(const Str* s);
void MakeActualSubPageName(const Str* s);
// Sets the master page from the first name of a parameter: the parent of
// the page the name lies on, or the root.
void MakeMasterPageName(const Str* s);
// Makes s the current definition unless there is one; returns s.
const Str& CheckActDef(const Str& s);
// Forgets the current definition while a definition, parameter or
// evaluation section is read.
void CleanActDef();
