// Name resolution against page parameters and global definitions.
#include "language/NameResolvers.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "language/Grammar.hpp"
#include "language/NameContext.h"
#include "language/ReaderReports.h"
#include "netmodel/Definition.h"
#include "netmodel/Page.h"
#include "netmodel/Registries.h"

namespace {

// The names already followed in one lookup.
class Trail {
public:
    // False when s was followed before.
    bool Follow(const Str& s)
    {
        std::string name = s.GetCChar();
        if (std::find(names.begin(), names.end(), name) != names.end()) return false;
        names.push_back(name);
        return true;
    }

private:
    std::vector<std::string> names;
};

bool IsEmpty(const Str& s)
{
    return s.IsNull() || s.Length() == 0;
}

Page* FindPage(const Str* name)
{
    if (!name) return nullptr;
    for (auto* e = PageRefs.first; e; e = e->next)
        if (e->item->GetName() == *name) return e->item;
    return nullptr;
}

Definition* FindDefinition(const Str& name)
{
    for (auto* e = DefinitionRefs.first; e; e = e->next)
        if (e->item->GetName() == name) return e->item;
    return nullptr;
}

bool IsText(const Definition& d)
{
    return d.GetResultType() == Text;
}

const Cell* LookUpDefinition(const Str& s, Trail& seen)
{
    if (IsEmpty(s)) LexError("TestIfDefinition(): string is NULL-pointer");
    Definition* d = FindDefinition(s);
    if (!d) return nullptr;
    if (!seen.Follow(s)) LexError("definition is definition of itself !");
    if (!IsText(*d)) return d->GetVal();
    Str value = d->GetValName();
    if (DefinitionLoop(value, s)) LexError("definition loop");
    const Cell* found = LookUpDefinition(value, seen);
    return found ? found : d->GetVal();
}

const Cell* LookUpParameter(const Str& s, const Str* page, Trail& seen)
{
    if (IsEmpty(s)) LexError("TestIfParameter(): string is NULL-pointer");
    Page* p = FindPage(page);
    Definition* d = p ? p->IsParam(s) : nullptr;
    if (!d) return nullptr;
    if (!IsText(*d)) return d->GetVal();
    if (!seen.Follow(s)) LexError("parameter loop");
    Str value = d->GetValName();
    if (IsEmpty(value)) LexError("TestIfParameter(): string is NULL-pointer");
    if (value == s) LexError("parameter loop");
    if (const Cell* found = LookUpParameter(value, page, seen)) return found;
    for (auto* e = PageRefs.first; e; e = e->next)
        if (e->item->IsSubPage(*page))
            if (const Cell* found = LookUpParameter(value, &e->item->GetName(), seen)) return found;
    if (const Cell* found = TestIfDefinition(value)) return found;
    return d->GetVal();
}

}  // namespace

const Cell* TestIfDefinition(const Str& s)
{
    Trail seen;
    return LookUpDefinition(s, seen);
}

const Cell* TestIfParameter(const Str& s, const Str* page)
{
    Trail seen;
    return LookUpParameter(s, page, seen);
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
            yylval.cell = cell->Copy();
            return TOK_DEF_PLACETMS;
        case PlaceNumber:
            yylval.cell = cell->Copy();
            return TOK_DEF_PLACENUM;
        case ElementaryMultiset:
            yylval.cell = cell->Copy();
            return TOK_DEF_ETMS;
        case ProductMultiset:
            yylval.cell = cell->Copy();
            return TOK_DEF_CTMS;
        case Boolean:
            yylval.cell = cell->Copy();
            return TOK_DEF_BOOL;
        case Number:
            yylval.cell = cell->Copy();
            return TOK_DEF_FLOAT;
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
