// Names by section.
#include "language/NameTokens.h"

#include "language/NameContext.h"
#include "language/NameResolvers.h"
#include "language/ReaderReports.h"
#include "language/ScannerState.h"

namespace {

// Plain and relative names in the definition and parameter sections are
// text, relative to the definition and to the master page.
int NameBelowDefinitionOrMaster(const char* text)
{
    if (section == kDefinitionSection) return ReturnString(AddDefPath(text));
    return ReturnString(AddMaster(text));
}

}  // namespace

int LoneBackslash()
{
    if (section != kPageSection) LexError("root (\\) found in wrong section");
    return ReturnString(Str(kRootName));
}

int AbsoluteName(const char* text)
{
    Str name = AddRoot(text);
    switch (section) {
        case kDefinitionSection:
            return VarOrDefOrString(name);
        case kParameterSection:
            return DefinitionOrString(name);
        case kEvaluationSection:
        case kPageSection:
            return ReturnString(name);
        default:
            return DefOrParamOrString(name);
    }
}

int PlainName(const char* text)
{
    switch (section) {
        case kDefinitionSection:
        case kParameterSection:
            return NameBelowDefinitionOrMaster(text);
        case kPageSection:
            LexError("pagename without path");
        default:
            return DefOrParamOrString(AddActPage(text));
    }
}

int RelativeName(const char* text)
{
    switch (section) {
        case kDefinitionSection:
        case kParameterSection:
            return NameBelowDefinitionOrMaster(text);
        case kEvaluationSection:
            LexError("evalstring with relativ path");
        case kPageSection:
            LexError("pagename with relativ path");
        default:
            return DefOrParamOrString(AddActPage(text));
    }
}
