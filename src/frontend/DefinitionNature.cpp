// Classifying definitions by the words of their values. A plain name in a
// definition is read relative to the definition's path, in a parameter
// relative to the master page of the parameter's page.
#include "frontend/DefinitionNature.h"

#include "frontend/DescriptionLayout.h"

namespace {

bool IsMultisetWord(const DescriptionToken& token)
{
    return (IsKeyword(token) && token.text == "e") || IsAnyOf(token.text, {"@", "{", "'"});
}

bool IsParameter(const DescriptionOutline& outline, const OutlineEntry& entry)
{
    for (const OutlinePage& page : outline.pages)
        for (const OutlineEntry& parameter : page.parameters)
            if (&parameter == &entry) return true;
    return false;
}

ValueNature Nature(const DescriptionOutline& outline, const OutlineEntry& entry, int depth)
{
    const TokenRange value = entry.value;
    if (value.Empty() || depth > 16) return {};
    const std::string& path = ParentPath(entry.fullName);
    const std::string base = IsParameter(outline, entry) ? ParentPath(path) : path;
    auto named = [&](std::size_t i) {
        return outline.FindDefinition(DescriptionOutline::FullName(base, outline.tokens[i].text));
    };
    if (value.end - value.begin == 1 && IsPlainName(outline.tokens[value.begin])) {
        if (const OutlineEntry* target = named(value.begin))
            return Nature(outline, *target, depth + 1);
        return {ValueKind::Text, outline.tokens[value.begin].text, false};
    }
    if (!outline.Colours(value).empty()) return {ValueKind::Multiset, "", false};
    ValueNature nature{ValueKind::Number, "", false};
    for (std::size_t i = value.begin; i < value.end; ++i) {
        const DescriptionToken& token = outline.tokens[i];
        if (IsConditionWord(token)) return {ValueKind::Condition, "", false};
        if (IsMultisetWord(token)) return {ValueKind::Multiset, "", false};
        if (IsAnyOf(token.text, {"E[", "P[", "TP["})) return {};
        const bool counted = i > value.begin && IsAnyOf(outline.tokens[i - 1].text, {"#", "@"});
        nature.readsMarking = nature.readsMarking || token.text == "#";
        if (IsPlainName(token) && !counted)
            if (const OutlineEntry* target = named(i)) {
                const ValueNature inner = Nature(outline, *target, depth + 1);
                if (inner.kind != ValueKind::Number) return inner;
                nature.readsMarking = nature.readsMarking || inner.readsMarking;
            }
    }
    return nature;
}

}  // namespace

ValueNature NatureOf(const DescriptionOutline& outline, const OutlineEntry& entry)
{
    return Nature(outline, entry, 0);
}

bool IsConditionWord(const DescriptionToken& token)
{
    return (token.kind == TokenKind::Symbol &&
            IsAnyOf(token.text, {"=", "<", ">", "!=", "<=", ">=", "&", "|", "!"})) ||
           IsAnyOf(token.text, {"TRUE", "FALSE"});
}
