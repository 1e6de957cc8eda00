// The words of a net description as mosk-solve needs them: names, numbers
// and symbols with their place in the text. It follows the reader's
// longest-match rules closely enough to find definitions and their uses; it
// does not check the description (mosk does that).
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

enum class TokenKind { Name, Number, Symbol, General };

struct DescriptionToken {
    TokenKind kind = TokenKind::Symbol;
    std::string text;
    std::size_t offset = 0;  // of the first character in the description
    int line = 1;            // 1-based, counting every line end of the text
    // The line as the reader counts it, which skips line ends inside
    // comments: the number its error reports carry.
    int readerLine = 1;
};

// The tokens of `text` up to its end or a 0xFF byte (the reader's end mark).
// Comments are left out; a character the reader would echo is skipped.
std::vector<DescriptionToken> TokenizeDescription(const std::string& text);

// The last component of a name: "c" for "\a\b\c" or "b'c" style paths too.
std::string LastNameComponent(const std::string& name);

// The keywords written as words (Definition, Exponential, e, IS, ...): the
// tokenizer gives them as names, since the reader tells them apart only by
// their text. A keyword is such a name, or one of the symbols that end in a
// bracket or "#" (E[, P[, TP[, in#, out#).
const std::vector<std::string>& WordKeywords();
bool IsKeyword(const DescriptionToken& token);
bool IsSectionKeyword(const std::string& word);
// A name that is not a keyword.
bool IsPlainName(const DescriptionToken& token);

// Whether `word` is one of `words`.
bool IsAnyOf(const std::string& word, std::initializer_list<const char*> words);
