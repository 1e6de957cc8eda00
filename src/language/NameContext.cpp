// Full names and the name context.
#include "language/NameContext.h"

#include "language/ReaderReports.h"
#include "language/ScannerState.h"
#include "netmodel/Textual.h"

#include <string>

const char* const kRootName = "\\__ROOT__";

Str* ActDefinition = nullptr;
Str* ActPageName = nullptr;
Str* MasterPageName = nullptr;
Str* ActSubPageName = nullptr;
int root_found = 0;

namespace {

bool IsEmpty(const Str* s)
{
    return !s || s->IsNull() || s->Length() == 0;
}

// base + text when text is absolute, else base + "\" + text.
Str Below(const Str& base, const char* text)
{
    if (text[0] == '\\') return base + text;
    return base + "\\" + text;
}

void Replace(Str*& target, const Str& value)
{
    Str* copy = new Str(value);
    delete target;
    target = copy;
}

}  // namespace

Str AddRoot(const char* text)
{
    return Below(Str(kRootName), text);
}

Str AddActPage(const char* text)
{
    if (!ActPageName) LexError("actual pagename is not defined");
    return Below(*ActPageName, text);
}

Str AddMaster(const char* text)
{
    if (!MasterPageName) LexError("master pagename is not defined");
    return Below(*MasterPageName, text);
}

Str AddDefPath(const char* text)
{
    if (!text) LexError("AddDefPath(): string is NULL-pointer");
    Str path = GetPath(ActDefinition);
    return Below(path, text);
}

Str GetPath(const Str* s)
{
    if (IsEmpty(s)) LexError("can't get path of string. String is NULL-pointer");
    const char* first = s->Index('\\');
    const char* last = s->RIndex('\\');
    std::string path = "\\";
    if (first && last > first) path.append(first + 1, last);
    return Str(path.c_str());
}

Str StripOffPath(const Str* s)
{
    if (IsEmpty(s)) YaccError("can't strip of path. String is NULL-pointer");
    return Textual(*s).StripOffPath();
}

Str MakePortName(const Str* s)
{
    if (IsEmpty(s)) YaccError("MakePortName(): string is NULL-pointer");
    Str port = ActSubPageName ? *ActSubPageName : Str("");
    return port + "\\" + StripOffPath(s);
}

void MakeActualPageName(const Str* s)
{
    if (IsEmpty(s)) YaccError("MakeActualPageName(): pagename is NULL-pointer");
    Replace(ActPageName, *s);
}

void MakeActualSubPageName(const Str* s)
{
    if (IsEmpty(s)) YaccError("MakeActualSubPageName(): subpagename is NULL-pointer");
    Replace(ActSubPageName, *s);
}

void MakeMasterPageName(const Str* s)
{
    if (IsEmpty(s)) LexError("MakeMasterPageName(): string is NULL-pointer");
    if (ActDefinition) return;
    Str page = GetPath(s);
    Replace(MasterPageName, page == kRootName ? Str(kRootName) : GetPath(&page));
}

const Str& CheckActDef(const Str& s)
{
    if (s.IsNull() || s.Length() == 0) LexError("CheckActDef(): string is NULL-pointer");
    if (!ActDefinition) ActDefinition = new Str(s);
    return s;
}

void CleanActDef()
{
    if (section < kDefinitionSection || section > kAfterEvaluationParameter) return;
    delete ActDefinition;
    ActDefinition = nullptr;
}
