// The process-wide state of the scanner: the section being read (which also
// decides how names are read and where definitions land), the line count and
// the last comment for error reports, and the reading of the description
// text from `table_string`.
#pragma once

#include "foundation/Str.h"

// Values of `section`. The states between a keyword and its colon keep the
// order of the description checkable.
enum Section : int {
    kBeforeDefinition = 0,
    kDefinitionSection = 1,
    kAfterParameter = 2,
    kParameterSection = 3,
    kAfterPage = 4,
    kEvaluationSection = 5,
    kAfterEvaluationParameter = 6,
    kPageSection = 7,
    kElementaryPlaceSection = 8,
    kProductPlaceSection = 9,
    kTransitionSection = 10,
};

extern int section;
extern int lcount;
extern Str* ActCommend;  // text of the last comment, null before the first
// Set once the end mark has been consumed: `table_string` then points behind
// it and is not read again.
extern bool description_ended;

// Moves the section state on a section keyword or a colon (token values of
// the parser); a keyword out of order is a lexical error.
void SectionStep(int token);

// Keeps the text between the first "/*" and the last "*/" as the comment.
void CatchCommend(const char* text);

// Copies the next piece of the description into `buf`: at most `max`
// characters, up to and including a newline. The
// byte 0xFF ends the description (it is consumed, never part of a token);
// the end of the text does too. Returns the number of characters, 0 at the
// end.
int ReadDescription(char* buf, int max);
