// Hints about the word at which mosk's reader stopped: a misspelt keyword,
// a name that is not defined, a definition used as a number that is none, a
// condition inside arithmetic. Each hint is one line of advice; "" when the
// word gives nothing to say.
#pragma once

#include <cstddef>
#include <string>
#include <utility>

#include "frontend/DescriptionOutline.h"

struct WordHint {
    static constexpr std::size_t kNoToken = static_cast<std::size_t>(-1);

    WordHint() = default;
    WordHint(std::string text, std::size_t related = kNoToken, std::string relatedNote = "")
        : text(std::move(text)), related(related), relatedNote(std::move(relatedNote))
    {
    }

    std::string text;
    // A second place worth showing (where a definition is written), or
    // kNoToken.
    std::size_t related = kNoToken;
    std::string relatedNote;
};

// The hint for word `token` of the outline, at which reading stopped
// (token == outline.tokens.size(): at the end of the description).
WordHint HintAtStop(const DescriptionOutline& outline, std::size_t token);

// Whether the word would get a hint of its own (a misspelt keyword or an
// unknown or unusable name), so that it is a likely place of the error when
// the reader cannot be asked.
bool IsSuspicious(const DescriptionOutline& outline, std::size_t token);

// "`Q` is not a place of page `\`; did you mean `P`?" for a place name that
// the page does not know.
std::string UnknownPlaceHint(const OutlinePage& page, const std::string& written);
