// LexError and YaccError: the error block of the reader, built from the
// scanner's line count, section and last comment.
#include "language/ReaderReports.h"

#include "foundation/Reporters.h"
#include "language/ScannerState.h"

extern char* yytext;

namespace {

const char* LexerSectionName(int s)
{
    switch (s) {
        case kDefinitionSection:
            return "Definition";
        case kParameterSection:
            return "Parameter";
        case kEvaluationSection:
            return "Evaluation";
        case kPageSection:
            return "Page";
        case kElementaryPlaceSection:
            return "ElementaryPlace";
        case kProductPlaceSection:
            return "ProductPlace";
        case kTransitionSection:
            return "Transition";
        default:
            return "Unknown";
    }
}

// The parser counts the states between a keyword and its colon to the
// section the keyword opens.
const char* ParserSectionName(int s)
{
    switch (s) {
        case kDefinitionSection:
            return "Definition";
        case kAfterParameter:
        case kParameterSection:
        case kAfterEvaluationParameter:
            return "Parameter";
        case kAfterPage:
        case kPageSection:
            return "Page";
        case kEvaluationSection:
            return "Evaluate";
        case kElementaryPlaceSection:
            return "ElementaryPlace";
        case kProductPlaceSection:
            return "ProductPlace";
        case kTransitionSection:
            return "Transition";
        default:
            return "unknown";
    }
}

const char* CurrentComment()
{
    return ActCommend ? ActCommend->GetCChar() : nullptr;
}

}  // namespace

void LexError(const char* msg)
{
    Fatal(RRGError("scan", lcount, "yylex()", msg, LexerSectionName(section), yytext,
                   CurrentComment()),
          kExitLexer);
}

void YaccError(const char* msg, const Str* name)
{
    Fatal(RRGError("pars", lcount, "yyparse()", msg, ParserSectionName(section),
                   name ? name->GetCChar() : nullptr, CurrentComment()),
          kExitParser);
}
