// Values are written in the shortest form that reads back exactly, so the
// run sees the number the user asked for.
#include "frontend/DescriptionEdit.h"

#include <algorithm>
#include <charconv>
#include <cmath>

std::string DescriptionNumber(double value)
{
    char text[64];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, std::fabs(value));
    std::string number(text, written.ptr);
    // to_chars may write "1e+20" or "5e-07": both are numbers of the language.
    return (value < 0.0 ? "-" : "") + number;
}

std::string WithDefinitionValues(const std::string& description,
                                 std::vector<DefinitionValue> values)
{
    // Replaced from the end, so the earlier positions stay valid.
    std::sort(values.begin(), values.end(), [](const DefinitionValue& a, const DefinitionValue& b) {
        return a.definition.valueBegin > b.definition.valueBegin;
    });
    std::string edited = description;
    for (const DefinitionValue& value : values)
        edited.replace(value.definition.valueBegin,
                       value.definition.valueEnd - value.definition.valueBegin,
                       DescriptionNumber(value.number));
    return edited;
}
