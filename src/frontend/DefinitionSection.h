// The Definition section of a net description: each global definition with
// the place of its value in the text, so that a sweep can give it another
// value and a message can point at it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "frontend/DescriptionTokens.h"

struct DefinitionEntry {
    std::string name;            // as written after its "\": "arrival", "Srv\rate"
    std::size_t nameToken = 0;   // index of its name in the token list
    std::size_t valueFirst = 0;  // tokens [valueFirst, valueLast) are its value
    std::size_t valueLast = 0;
    std::size_t valueBegin = 0;  // the value's characters in the text
    std::size_t valueEnd = 0;
    int line = 1;  // the line of its name

    // The engine's full name, "\__ROOT__\arrival".
    std::string FullName() const { return "\\__ROOT__\\" + name; }
};

// The definitions between "Definition" and the first "Parameter", in order.
// A piece that does not read as "\name = value" is left out (mosk reports it).
std::vector<DefinitionEntry> ReadDefinitions(const std::vector<DescriptionToken>& tokens);

// The index of the first token of the first "Parameter" section (the end of
// the Definition section), or the number of tokens when there is none.
std::size_t DefinitionSectionEnd(const std::vector<DescriptionToken>& tokens);
