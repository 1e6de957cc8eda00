// LexError and YaccError: the error block of the reader, built from the
// scanner's line count, section and last comment.
#include "language/ReaderReports.h"

#include "foundation/Reporters.h"
#include "language/ScannerState.h"

extern char* yytext;

namespace {

// The section as the scanner or the parser names it: the parser counts the
// states between a keyword and its colon to the section the keyword opens,
// and names the evaluation section by its keyword.
const char* SectionName(int s, bool parser)
{
    switch (s) {
        case kDefinitionSection:
            return "Definition";
        case kAfterParameter:
        case kAfterEvaluationParameter:
            if (!parser) break;
            [[fallthrough]];
        case kParameterSection:
            return "Parameter";
        case kAfterPage:
            if (!parser) break;
            [[fallthrough]];
        case kPageSection:
            return "Page";
        case kEvaluationSection:
            return parser ? "Evaluate" : "Evaluation";
        case kElementaryPlaceSection:
            return "ElementaryPlace";
        case kProductPlaceSection:
            return "ProductPlace";
        case kTransitionSection:
            return "Transition";
        default:
            break;
    }
    return parser ? "unknown" : "Unknown";
}

const char* CurrentComment()
{
    return ActCommend ? ActCommend->GetCChar() : nullptr;
}

}  // namespace

void LexError(const char* msg)
{
    Fatal(RRGError("scan", lcount, "yylex()", msg, SectionName(section, false), yytext,
                   CurrentComment()),
          kExitLexer);
}

void YaccError(const char* msg, const Str* name)
{
    Fatal(RRGError("pars", lcount, "yyparse()", msg, SectionName(section, true),
                   name ? name->GetCChar() : nullptr, CurrentComment()),
          kExitParser);
}
