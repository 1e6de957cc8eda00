// Reading the Definition section. A "|" outside parentheses always ends a
// definition (a disjunction inside one has to be parenthesised), so the
// section splits at those bars.
#include "frontend/DefinitionSection.h"

namespace {

bool IsSymbol(const DescriptionToken& token, const char* text)
{
    return token.kind == TokenKind::Symbol && token.text == text;
}

bool IsKeyword(const DescriptionToken& token, const char* text)
{
    return token.kind == TokenKind::Name && token.text == text;
}

std::size_t SectionStart(const std::vector<DescriptionToken>& tokens)
{
    if (tokens.size() >= 2 && IsKeyword(tokens[0], "Definition") && IsSymbol(tokens[1], ":"))
        return 2;
    return tokens.size();
}

void AddDefinition(const std::vector<DescriptionToken>& tokens, std::size_t first, std::size_t last,
                   std::vector<DefinitionEntry>& definitions)
{
    if (last < first + 3) return;
    const DescriptionToken& name = tokens[first];
    if (name.kind != TokenKind::Name || name.text.size() < 2 || name.text[0] != '\\' ||
        !IsSymbol(tokens[first + 1], "="))
        return;
    DefinitionEntry entry;
    entry.name = name.text.substr(1);
    entry.nameToken = first;
    entry.valueFirst = first + 2;
    entry.valueLast = last;
    entry.valueBegin = tokens[first + 2].offset;
    entry.valueEnd = tokens[last - 1].offset + tokens[last - 1].text.size();
    entry.line = name.line;
    definitions.push_back(entry);
}

}  // namespace

std::size_t DefinitionSectionEnd(const std::vector<DescriptionToken>& tokens)
{
    for (std::size_t i = SectionStart(tokens); i < tokens.size(); ++i)
        if (IsKeyword(tokens[i], "Parameter")) return i;
    return tokens.size();
}

std::vector<DefinitionEntry> ReadDefinitions(const std::vector<DescriptionToken>& tokens)
{
    std::vector<DefinitionEntry> definitions;
    const std::size_t end = DefinitionSectionEnd(tokens);
    std::size_t first = SectionStart(tokens);
    int depth = 0;
    for (std::size_t i = first; i < end; ++i) {
        if (IsSymbol(tokens[i], "(")) ++depth;
        if (IsSymbol(tokens[i], ")") && depth > 0) --depth;
        if (depth == 0 && IsSymbol(tokens[i], "|")) {
            AddDefinition(tokens, first, i, definitions);
            first = i + 1;
        }
    }
    if (first < end) AddDefinition(tokens, first, end, definitions);
    return definitions;
}
