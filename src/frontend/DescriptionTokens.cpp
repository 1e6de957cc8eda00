// Longest match over the token shapes of the description language: names
// (plain, relative with "'" or "\", absolute from "\"), numbers (digits with
// an optional fraction and exponent), "General(...)" texts, comments, the
// keywords that end in a symbol ("in#", "out#", "E[", "P[", "TP[") and the
// one- and two-character symbols.
#include "frontend/DescriptionTokens.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace {

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsNameCharacter(char c)
{
    return IsLetter(c) || IsDigit(c);
}

bool IsPathCharacter(char c)
{
    return IsNameCharacter(c) || c == '\'' || c == '\\';
}

class Scanner {
public:
    explicit Scanner(const std::string& text) : text(text)
    {
        const std::size_t end = text.find('\xff');
        size = end == std::string::npos ? text.size() : end;
    }

    std::vector<DescriptionToken> Run();

private:
    char At(std::size_t i) const { return i < size ? text[i] : '\0'; }
    std::size_t CommentEnd(std::size_t from) const;
    std::size_t NumberEnd(std::size_t from) const;
    std::size_t NameEnd(std::size_t from) const;
    std::size_t GeneralEnd(std::size_t from) const;
    std::size_t SymbolEnd(std::size_t from) const;
    void Add(TokenKind kind, std::size_t from, std::size_t to);

    const std::string& text;
    std::size_t size = 0;
    int line = 1;
    int readerLine = 1;
    std::vector<DescriptionToken> tokens;
};

// The end of a comment starting at `from`, or `from` when the characters
// there do not form one (the reader then reads them as symbols).
std::size_t Scanner::CommentEnd(std::size_t from) const
{
    if (At(from) != '/' || At(from + 1) != '*') return from;
    for (std::size_t i = from + 2; i < size; ++i) {
        if (At(i) == '*' && At(i + 1) == '/') return i + 2;
        const char c = At(i);
        if (!(IsNameCharacter(c) || std::strchr(" \t\n!\"#\\", c) != nullptr)) return from;
    }
    return from;
}

std::size_t Scanner::NumberEnd(std::size_t from) const
{
    std::size_t i = from;
    while (IsDigit(At(i))) ++i;
    if (i == from) return from;
    if (At(i) == '.') {
        ++i;
        while (IsDigit(At(i))) ++i;
    }
    if (At(i) == 'e' || At(i) == 'E') {
        std::size_t j = i + 1;
        if (At(j) == '+' || At(j) == '-') ++j;
        if (IsDigit(At(j))) {
            while (IsDigit(At(j))) ++j;
            i = j;
        }
    }
    return i;
}

std::size_t Scanner::NameEnd(std::size_t from) const
{
    std::size_t i = from;
    if (At(i) == '\\') {
        ++i;
        if (!IsLetter(At(i))) return i;  // "\" alone: the root
        while (IsPathCharacter(At(i))) ++i;
        return i;
    }
    if (!IsLetter(At(i))) return from;
    while (IsNameCharacter(At(i))) ++i;
    if (At(i) == '\'' || At(i) == '\\')
        while (IsPathCharacter(At(i))) ++i;
    return i;
}

std::size_t Scanner::GeneralEnd(std::size_t from) const
{
    if (text.compare(from, 8, "General(") != 0 || from + 8 > size) return from;
    std::size_t last = from;
    for (std::size_t i = from + 8; i < size; ++i) {
        const char c = At(i);
        if (c == ')') last = i + 1;
        if (!(IsDigit(c) || std::strchr(" ()*+,-.IR[]^ex", c) != nullptr)) break;
    }
    return last;
}

std::size_t Scanner::SymbolEnd(std::size_t from) const
{
    for (const char* word : {"out#", "TP[", "in#", "E[", "P[", "!=", "<=", ">=", "->"}) {
        const std::size_t length = std::strlen(word);
        if (from + length <= size && text.compare(from, length, word) == 0) return from + length;
    }
    // "`", "^", "%" and "~" are symbols too: the reader refuses them, and a
    // message about one points at it.
    return std::strchr("'+-/*!&|#@=<>,.:;?()[]{}`^%~", At(from)) != nullptr ? from + 1 : from;
}

void Scanner::Add(TokenKind kind, std::size_t from, std::size_t to)
{
    tokens.push_back({kind, text.substr(from, to - from), from, line, readerLine});
}

std::vector<DescriptionToken> Scanner::Run()
{
    std::size_t i = 0;
    while (i < size) {
        const char c = At(i);
        std::size_t end = i;
        if (c == '\n') {
            ++line;
            ++readerLine;
            ++i;
            continue;
        }
        if ((end = CommentEnd(i)) > i) {
            for (std::size_t j = i; j < end; ++j) line += text[j] == '\n';
            i = end;
            continue;
        }
        const std::size_t name = NameEnd(i);
        const std::size_t number = NumberEnd(i);
        const std::size_t general = GeneralEnd(i);
        const std::size_t symbol = SymbolEnd(i);
        if (general > i && general >= name) {
            Add(TokenKind::General, i, general);
            i = general;
        } else if (symbol > name && symbol > number) {
            Add(TokenKind::Symbol, i, symbol);
            i = symbol;
        } else if (name > i) {
            Add(TokenKind::Name, i, name);
            i = name;
        } else if (number > i) {
            Add(TokenKind::Number, i, number);
            i = number;
        } else {
            ++i;  // blanks, and characters the reader echoes and skips
        }
    }
    return tokens;
}

}  // namespace

std::vector<DescriptionToken> TokenizeDescription(const std::string& text)
{
    return Scanner(text).Run();
}

std::string LastNameComponent(const std::string& name)
{
    const std::size_t cut = name.find_last_of("\\'");
    return cut == std::string::npos ? name : name.substr(cut + 1);
}

const std::vector<std::string>& WordKeywords()
{
    static const std::vector<std::string> keywords = {
        "Definition",   "Parameter",   "Page",         "ElementaryPlace",
        "ProductPlace", "Transition",  "Evaluate",     "e",
        "ES",           "IS",          "IF",           "TRUE",
        "FALSE",        "assign",      "subpage",      "Uniform",
        "Immediate",    "Exponential", "Deterministic"};
    return keywords;
}

bool IsKeyword(const DescriptionToken& token)
{
    static const std::unordered_set<std::string> words(WordKeywords().begin(),
                                                       WordKeywords().end());
    if (token.kind == TokenKind::Symbol)
        return IsAnyOf(token.text, {"E[", "P[", "TP[", "in#", "out#"});
    return token.kind == TokenKind::Name && words.count(token.text) > 0;
}

bool IsSectionKeyword(const std::string& word)
{
    return IsAnyOf(word, {"Definition", "Parameter", "Page", "ElementaryPlace", "ProductPlace",
                          "Transition", "Evaluate"});
}

bool IsPlainName(const DescriptionToken& token)
{
    return token.kind == TokenKind::Name && !IsKeyword(token);
}

bool IsAnyOf(const std::string& word, std::initializer_list<const char*> words)
{
    return std::any_of(words.begin(), words.end(), [&](const char* w) { return word == w; });
}
