// The names given to --set are checked against the description before mosk
// runs: mosk would find an unknown one only after building the whole graph.
#pragma once

#include <string>
#include <vector>

#include "frontend/DescriptionOutline.h"

// "" when `given` is one of `known`; otherwise why not, with the nearest
// known names. `what` says what the names are.
std::string UnknownNameError(const std::string& given, const std::vector<std::string>& known,
                             const std::string& what);

// The SUB/T names a pass of mosk can give new rates: the single-server
// timed transitions of sub-pages, with the page written as --set takes it.
std::vector<std::string> SweepableTransitions(const DescriptionOutline& outline);
