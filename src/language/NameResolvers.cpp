// Name resolution against page parameters and global definitions.
#include "language/NameResolvers.h"

#include <memory>
#include <string>
#include <unordered_set>

#include "language/ExpressionLimits.h"
#include "language/Grammar.hpp"
#include "language/NameContext.h"
#include "language/NameLookup.h"
#include "language/ReaderReports.h"
#include "netmodel/Definition.h"
#include "netmodel/Page.h"
#include "netmodel/Registries.h"

namespace {

// The names already followed in one lookup.
class Trail {
public:
    // False when s was followed before.
    bool Follow(const Str& s) { return names.insert(s.GetCChar()).second; }

private:
    std::unordered_set<std::string> names;
};

bool IsEmpty(const Str& s)
{
    return s.IsNull() || s.Length() == 0;
}

bool IsText(const Definition& d)
{
    return d.GetResultType() == Text;
}

// The page itself when it has a parameter named s, else the first page that
// lists it among its sub-pages and has one.
Page* PageWithParameter(Page& page, const Str& s)
{
    if (FindParameter(page, s)) return &page;
    for (auto* e = PageRefs.first; e; e = e->next)
        if (e->item->IsSubPage(page.GetName()) && FindParameter(*e->item, s)) return e->item;
    return nullptr;
}

// A copy of the definition's cell as the token's value.
int CellToken(const Cell* cell, int token)
{
    yylval.cell = CopyForUse(*cell);
    return token;
}

}  // namespace

// Chains of text values are followed in a loop, not by recursion: a chain
// may be as long as the description has definitions.
const Cell* TestIfDefinition(const Str& s)
{
    if (IsEmpty(s)) LexError("TestIfDefinition(): string is NULL-pointer");
    Definition* d = FindDefinition(s);
    if (!d || !IsText(*d)) return d ? d->GetVal() : nullptr;
    if (DefinitionLoop(d->GetValName(), s)) LexError("definition loop");
    // The chain ends, without a circle, at a name that is no text
    // definition: the last definition found gives the result.
    Trail seen;
    seen.Follow(s);
    for (;;) {
        Str value = d->GetValName();
        Definition* next = FindDefinition(value);
        if (!next) return d->GetVal();
        if (!seen.Follow(value)) LexError("definition is definition of itself !");
        if (!IsText(*next)) return next->GetVal();
        d = next;
    }
}

// A text parameter is followed to a parameter of the same page, else of a
// master page, else to a definition; a parameter found that way is followed
// in turn on its own page.
const Cell* TestIfParameter(const Str& s, const Str* page)
{
    if (IsEmpty(s)) LexError("TestIfParameter(): string is NULL-pointer");
    Page* p = page ? FindPage(*page) : nullptr;
    Definition* d = p ? FindParameter(*p, s) : nullptr;
    if (!d) return nullptr;
    Str name = s;
    Trail seen;
    for (;;) {
        if (!IsText(*d)) return d->GetVal();
        if (!seen.Follow(name)) LexError("parameter loop");
        Str value = d->GetValName();
        if (IsEmpty(value)) LexError("TestIfParameter(): string is NULL-pointer");
        if (value == name) LexError("parameter loop");
        Page* holder = PageWithParameter(*p, value);
        if (!holder) {
            const Cell* found = TestIfDefinition(value);
            return found ? found : d->GetVal();
        }
        p = holder;
        d = FindParameter(*p, value);
        name = value;
    }
}

bool DefinitionLoop(const Str& s, const Str& target)
{
    if (IsEmpty(s)) LexError("DefinitionLoop(): string is NULL-pointer");
    Trail visited;
    Str name = s;
    for (;;) {
        Definition* d = FindDefinition(name);
        if (!d || !IsText(*d)) return false;
        Str value = d->GetValName();
        if (value == target) return true;
        // A circle of text definitions that does not pass target would be
        // followed for ever; it is a loop all the same.
        if (IsEmpty(value) || !visited.Follow(value)) return true;
        name = value;
    }
}

int ReturnString(const Str& s)
{
    if (IsEmpty(s)) LexError("ReturnString(): string is NULL-pointer");
    yylval.text = new Str(s);
    return TOK_STRING;
}

int ReturnCellContents(const Cell* cell)
{
    switch (cell->GetResultType()) {
        case PlaceMultiset:
            return CellToken(cell, TOK_DEF_PLACETMS);
        case PlaceNumber:
            return CellToken(cell, TOK_DEF_PLACENUM);
        case ElementaryMultiset:
            return CellToken(cell, TOK_DEF_ETMS);
        case ProductMultiset:
            return CellToken(cell, TOK_DEF_CTMS);
        case Boolean:
            return CellToken(cell, TOK_DEF_BOOL);
        case Number:
            return CellToken(cell, TOK_DEF_FLOAT);
        case Text: {
            std::unique_ptr<CellVal> value(cell->Calculate());
            return ReturnString(value->GetString());
        }
        default:
            LexError("unknown ResultType in Definition");
    }
}

int VarOrDefOrString(const Str& s)
{
    if (IsEmpty(s)) LexError("VarOrDefOrString(): string is NULL-pointer");
    if (!ActDefinition) {
        ActDefinition = new Str(s);
        return ReturnString(s);
    }
    if (const Cell* found = TestIfDefinition(s)) return ReturnCellContents(found);
    return ReturnString(s);
}

int DefinitionOrString(const Str& s)
{
    if (IsEmpty(s)) LexError("DefinitionOrString(): string is NULL-pointer");
    if (ActDefinition) {
        if (const Cell* found = TestIfDefinition(s)) return ReturnCellContents(found);
    } else {
        MakeMasterPageName(&s);
    }
    return ReturnString(CheckActDef(s));
}

int DefOrParamOrString(const Str& s)
{
    if (IsEmpty(s)) LexError("DefOrParamOrString(): string is NULL-pointer");
    if (const Cell* found = TestIfParameter(s, ActPageName)) return ReturnCellContents(found);
    if (const Cell* found = TestIfDefinition(s)) return ReturnCellContents(found);
    return ReturnString(s);
}
