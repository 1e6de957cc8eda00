// Lookups by full name in the registries the reader fills: global
// definitions, pages and the parameters of a page. Each goes through a hash
// index, so a description with many names costs no scan per name read.
#pragma once

#include "foundation/Str.h"

class Definition;
class Page;

Definition* FindDefinition(const Str& name);
Page* FindPage(const Str& name);
// The parameter of that name on the page, or null.
Definition* FindParameter(Page& page, const Str& name);

// Starts the indexes afresh, releasing all they hold: called at the start of
// every description.
void ForgetNameIndexes();
