// A description with some definitions given other values: what one run of a
// sweep analyses.
#pragma once

#include <string>
#include <vector>

#include "frontend/DefinitionSection.h"

struct DefinitionValue {
    DefinitionEntry definition;
    double number = 0.0;
};

// `value` written as a number of the description language: digits with an
// optional fraction and exponent, a leading "-" for negative values (the
// language reads it as a minus sign), never ".5" or "0.00".
std::string DescriptionNumber(double value);

// `description` with each definition's value replaced by its new number.
std::string WithDefinitionValues(const std::string& description,
                                 std::vector<DefinitionValue> values);
