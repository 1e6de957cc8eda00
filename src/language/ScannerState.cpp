// The scanner's section state machine, comments and input.
#include "language/ScannerState.h"

#include "foundation/RunState.h"
#include "language/Grammar.hpp"
#include "language/ReaderReports.h"

int section = kBeforeDefinition;
int lcount = 1;
Str* ActCommend = nullptr;

bool description_ended = false;

namespace {

constexpr unsigned char kEndOfDescription = 0xFF;

// The new section for a keyword allowed in `from`, or -1.
int KeywordStep(int token, int from)
{
    switch (token) {
        case TOK_DEFINITION:
            return from == kBeforeDefinition ? kDefinitionSection : -1;
        case TOK_PARAMETER:
            if (from == kDefinitionSection) return kAfterParameter;
            return from == kEvaluationSection ? kAfterEvaluationParameter : -1;
        case TOK_PAGE:
            return from == kParameterSection ? kAfterPage : -1;
        case TOK_ELEMENTARYPLACE:
            return from == kPageSection || from == kProductPlaceSection ? kElementaryPlaceSection
                                                                        : -1;
        case TOK_PRODUCTPLACE:
            return from == kPageSection || from == kElementaryPlaceSection ? kProductPlaceSection
                                                                           : -1;
        case TOK_TRANSITION:
            return from == kElementaryPlaceSection || from == kProductPlaceSection
                       ? kTransitionSection
                       : -1;
        case TOK_EVALUATE:
            return from == kTransitionSection ? kEvaluationSection : -1;
        default:
            return -1;
    }
}

const char* OrderError(int token)
{
    switch (token) {
        case TOK_DEFINITION:
            return "wrong section order (Definition)";
        case TOK_PARAMETER:
            return "wrong section order (Parameter)";
        case TOK_PAGE:
            return "wrong section order (Page)";
        case TOK_ELEMENTARYPLACE:
            return "wrong section order (ElementaryPlace)";
        case TOK_PRODUCTPLACE:
            return "wrong section order (ProductPlace)";
        case TOK_TRANSITION:
            return "wrong section order (Transition)";
        default:
            return "wrong section order (Evaluate)";
    }
}

}  // namespace

void SectionStep(int token)
{
    if (token == TOK_COLON) {
        if (section == kAfterParameter || section == kAfterEvaluationParameter)
            section = kParameterSection;
        else if (section == kAfterPage)
            section = kPageSection;
        return;
    }
    int next = KeywordStep(token, section);
    if (next < 0) LexError(OrderError(token));
    section = next;
}

void CatchCommend(const char* text)
{
    Str* comment = new Str(Str(text).BetweenS("/*", "*/"));
    delete ActCommend;
    ActCommend = comment;
}

int ReadDescription(char* buf, int max)
{
    if (description_ended || !table_string) return 0;
    int n = 0;
    while (n < max) {
        unsigned char c = static_cast<unsigned char>(*table_string);
        if (c == '\0' || c == kEndOfDescription) {
            if (c == kEndOfDescription) ++table_string;
            description_ended = true;
            break;
        }
        ++table_string;
        buf[n++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    return n;
}
