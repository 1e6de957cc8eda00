// How a name given to `--set NAME=...` is found: it names a definition of the
// description's Definition section, written with or without its leading "\"
// ("arrival" or "\arrival", "Srv\rate" for a definition named with a path).
// Names are compared exactly, case included.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frontend/DefinitionSection.h"

// The definition `name` stands for, if any.
std::optional<DefinitionEntry> FindSetName(const std::vector<DefinitionEntry>& definitions,
                                           const std::string& name);

// The names --set accepts for this description, as a user writes them.
std::vector<std::string> SettableNames(const std::vector<DefinitionEntry>& definitions);
