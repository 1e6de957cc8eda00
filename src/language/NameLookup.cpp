// The name indexes of the reader's registries.
#include "language/NameLookup.h"

#include "language/NameIndex.h"
#include "netmodel/Definition.h"
#include "netmodel/Page.h"
#include "netmodel/Registries.h"

namespace {

NameIndex<Definition> definitions;
NameIndex<Page> pages;
// One index per parameter list; a page's list is set once, when its block
// is read.
std::unordered_map<const PtrList<Definition>*, NameIndex<Definition>> parameters;

}  // namespace

Definition* FindDefinition(const Str& name) { return definitions.Find(DefinitionRefs, name); }

Page* FindPage(const Str& name) { return pages.Find(PageRefs, name); }

Definition* FindParameter(Page& page, const Str& name)
{
    const PtrList<Definition>* list = page.GetParams();
    return list ? parameters[list].Find(*list, name) : nullptr;
}

void ForgetNameIndexes()
{
    definitions.Forget();
    pages.Forget();
    decltype(parameters)().swap(parameters);
}
