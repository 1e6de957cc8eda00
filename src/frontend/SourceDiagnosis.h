// The place in the description that an error report of mosk points at,
// shown as the line with a caret under the word and a hint of what to do.
// The report itself stays as mosk printed it; this is what mosk-solve adds
// from the description and the report's words. The reader's reports carry
// the description's line (and, for lexical errors, the word); the class
// check's carry the names of the objects involved instead, and their `line`
// is a place in mosk's own code.
#pragma once

#include <string>
#include <string_view>

#include "frontend/FailureAdvice.h"
#include "frontend/ReadingStop.h"

// The lines to show below the report ("" when the report has no place in
// the description), starting with "<path>:<line>:<column>: <message>".
// `reads` asks mosk's reader about cut descriptions; it may be empty.
std::string DiagnoseReport(const std::string& path, const std::string& description,
                           const ErrorReport& report, const PrefixReader& reads);
