// The resolvers of names: whether a name read by the scanner denotes a page
// parameter, a global definition or plain text. Each returns the token to
// hand to the parser and sets its semantic value: STRING with the full name,
// or one of the DEF_ tokens with a copy of the expression it denotes.
#pragma once

#include "foundation/Str.h"

class Cell;

int ReturnString(const Str& s);
int ReturnCellContents(const Cell* cell);
// Definition section: the first absolute name of a definition is its name;
// later ones are replaced by the definitions they name.
int VarOrDefOrString(const Str& s);
// Parameter section: the first absolute name of a parameter is its name and
// fixes the master page; later ones are replaced by definitions.
int DefinitionOrString(const Str& s);
// Everywhere else: a parameter of the current page, else a definition.
int DefOrParamOrString(const Str& s);

// The expression a name denotes as a parameter of `page` or of its master
// pages, or as a definition, following text values that name another
// parameter or definition; null when it denotes none. A chain of text values
// that returns to a name already followed is a lexical error.
const Cell* TestIfParameter(const Str& s, const Str* page);
const Cell* TestIfDefinition(const Str& s);
// Whether following the text values from the definition named s leads to
// target (or runs around in a circle).
bool DefinitionLoop(const Str& s, const Str& target);
