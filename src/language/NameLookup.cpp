// The name indexes of the reader's registries.
#include "language/NameLookup.h"

#include "language/NameIndex.h"
#include "netmodel/Definition.h"
#include "netmodel/Page.h"
#include "netmodel/Place.h"
#include "netmodel/Registries.h"
#include "netmodel/SocketPortPair.h"
#include "netmodel/Token.h"

namespace {

struct NameOf {
    static std::string Of(const Definition& d) { return NameKey(d.GetName()); }
    static std::string Of(const Page& p) { return NameKey(p.GetName()); }
    static std::string Of(const Place& p) { return NameKey(p.GetName().GetString()); }
    static std::string Of(const Textual& t) { return NameKey(t.GetString()); }
};

struct PortOf {
    static std::string Of(const SocketPortPair& pair) { return NameKey(pair.GetPort().GetString()); }
};

// Name, version and step, which no name contains.
struct ColourOf {
    static std::string Of(const Token& t)
    {
        return NameKey(t.GetName().GetString()) + '\n' + NameKey(t.GetVers().GetString()) + '\n' +
               NameKey(t.GetStep().GetString());
    }
};

NameIndex<Definition, NameOf> definitions;
NameIndex<Page, NameOf> pages;
// One index per parameter list; a page's list is set once, when its block
// is read.
std::unordered_map<const PtrList<Definition>*, NameIndex<Definition, NameOf>> parameters;
NameIndex<Place, NameOf> places;
NameIndex<SocketPortPair, PortOf> ports;
NameIndex<Textual, NameOf> transitionNames;
NameIndex<Token, ColourOf> colours;

}  // namespace

std::string NameKey(const Str& name) { return name.IsNull() ? "" : name.GetCChar(); }

Definition* FindDefinition(const Str& name) { return definitions.Find(DefinitionRefs, NameKey(name)); }

Page* FindPage(const Str& name) { return pages.Find(PageRefs, NameKey(name)); }

Definition* FindParameter(Page& page, const Str& name)
{
    const PtrList<Definition>* list = page.GetParams();
    return list ? parameters[list].Find(*list, NameKey(name)) : nullptr;
}

Place* FindPlace(const Str& name) { return places.Find(PlaceRefs, NameKey(name)); }

SocketPortPair* FindPort(const Str& port) { return ports.Find(SocketPortPairRefs, NameKey(port)); }

Textual* FindTransitionName(const Str& name)
{
    return transitionNames.Find(TransitionNames, NameKey(name));
}

int FindColour(const Token& colour)
{
    int position = 0;
    colours.Find(TokenRefs, ColourOf::Of(colour), &position);
    return position;
}

void ForgetNameIndexes()
{
    definitions.Forget();
    pages.Forget();
    decltype(parameters)().swap(parameters);
    places.Forget();
    ports.Forget();
    transitionNames.Forget();
    colours.Forget();
}
