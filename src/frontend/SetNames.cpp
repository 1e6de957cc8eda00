// Matching --set names against the Definition section.
#include "frontend/SetNames.h"

std::optional<DefinitionEntry> FindSetName(const std::vector<DefinitionEntry>& definitions,
                                           const std::string& name)
{
    const std::string bare = !name.empty() && name.front() == '\\' ? name.substr(1) : name;
    for (const DefinitionEntry& definition : definitions)
        if (definition.name == bare) return definition;
    return std::nullopt;
}

std::vector<std::string> SettableNames(const std::vector<DefinitionEntry>& definitions)
{
    std::vector<std::string> names;
    for (const DefinitionEntry& definition : definitions) names.push_back(definition.name);
    return names;
}
