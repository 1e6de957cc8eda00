// What a definition or page parameter stands for where it is used: a
// number, a condition, a multiset of tokens, or text. The reader replaces a
// name by its definition's value, so a name that stands for a condition or
// for text cannot be used where a number is expected.
#pragma once

#include <string>

#include "frontend/DescriptionOutline.h"

enum class ValueKind { Number, Condition, Multiset, Text, Other };

struct ValueNature {
    ValueKind kind = ValueKind::Other;
    std::string text;           // for Text: the name it holds
    bool readsMarking = false;  // it counts or takes tokens (#, @)
};

// Follows aliases (a value that is one name) to what they name.
ValueNature NatureOf(const DescriptionOutline& outline, const OutlineEntry& entry);

// Comparisons, "&", "|", "!", TRUE and FALSE: the words of conditions.
bool IsConditionWord(const DescriptionToken& token);
