// Finds the distribution text of one transition in the PMF file the engine
// writes for the general transitions: blocks of a line "TRANSITION <name>",
// then the distribution text (possibly over several lines) up to a ";".
#pragma once

#include <string>

bool FindPmfText(const std::string& path, const std::string& transition, std::string& text,
                 std::string& error);
