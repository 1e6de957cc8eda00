// Hints about single words. A name is read as the reader reads it: on a page
// a plain name stands for a parameter of the page, else for a definition of
// that path, else for itself as text; where a number is expected, text or a
// condition makes the reader stop.
#include "frontend/WordHints.h"

#include <algorithm>

#include "frontend/DefinitionNature.h"
#include "frontend/DescriptionLayout.h"
#include "frontend/NearestNames.h"

namespace {

std::string KeywordSlip(const DescriptionOutline& outline, std::size_t token)
{
    const std::string& word = outline.tokens[token].text;
    const int elsewhere =
        outline.CountDeclared(LastNameComponent(word)) - (outline.DeclaresNameAt(token) ? 1 : 0);
    if (elsewhere > 0) return "";
    std::vector<std::string> keywords;
    for (const std::string& keyword : WordKeywords())
        if (keyword != "e") keywords.push_back(keyword);
    keywords.emplace_back("General");
    const std::vector<std::string> near = NearestNames(word, keywords, 1);
    if (near.empty()) return "";
    return "`" + word + "` is not a keyword; did you mean `" + near.front() + "`?";
}

// A name in a place where it is not a number, a definition or a parameter
// but the name of something: a place, a colour, a transition, a port.
bool NamesSomething(const DescriptionOutline& outline, std::size_t token)
{
    const auto& tokens = outline.tokens;
    auto is = [&](std::size_t i, std::initializer_list<const char*> words) {
        return i < tokens.size() && IsAnyOf(tokens[i].text, words);
    };
    return (token > 0 &&
            is(token - 1, {"#", "@", "in#", "out#", "TP[", "->", ".", "]", "subpage"})) ||
           is(token + 1, {".", "?", "[", "->"});
}

std::string NatureText(const ValueNature& nature)
{
    switch (nature.kind) {
        case ValueKind::Condition:
            return "a condition";
        case ValueKind::Multiset:
            return "a multiset of tokens";
        case ValueKind::Text:
            return "`" + nature.text + "`, which names no definition";
        default:
            return "something else";
    }
}

WordHint NameHint(const DescriptionOutline& outline, std::size_t token)
{
    const std::string& word = outline.tokens[token].text;
    const OutlinePage* page = outline.PageOfToken(token);
    if (page == nullptr || NamesSomething(outline, token)) return {};
    if (const OutlineEntry* entry = outline.Resolve(*page, word)) {
        const ValueNature nature = NatureOf(outline, *entry);
        if (nature.kind == ValueKind::Number || nature.kind == ValueKind::Other) return {};
        return {"`" + word + "` is not a number: it is defined as " + NatureText(nature),
                entry->nameToken, "`" + word + "` is defined here"};
    }
    if (outline.IsPlaceOf(*page, word))
        return {"`" + word + "` is a place: `#" + word + "` is the number of its tokens"};
    if (page->name != "\\" && outline.FindDefinition("\\" + word) != nullptr)
        return {"`" + word + "` is a definition of the root page: write `\\" + word +
                "` on page `" + page->name + "`, or hand it in as a parameter of the page"};
    std::vector<std::string> names;
    for (const OutlineEntry& definition : outline.definitions)
        if (ParentPath(definition.fullName) == page->name)
            names.push_back(LastNameComponent(definition.fullName));
    for (const OutlineEntry& parameter : page->parameters)
        names.push_back(LastNameComponent(parameter.fullName));
    const std::vector<std::string> near = NearestNames(word, names);
    return {"`" + word + "` is not defined on page `" + page->name + "`" +
            (near.empty() ? "" : "; did you mean " + QuotedChoice(near) + "?")};
}

// The brackets that enclose word `token`, innermost first.
std::vector<std::size_t> EnclosingBrackets(const DescriptionOutline& outline, std::size_t token)
{
    std::vector<std::size_t> openers;
    int depth = 0;
    for (std::size_t i = token; i-- > 0;) {
        const DescriptionToken& word = outline.tokens[i];
        if (IsKeyword(word) && IsSectionKeyword(word.text)) break;
        const bool closes = word.kind == TokenKind::Symbol && IsAnyOf(word.text, {")", "]", "}"});
        const bool opens = IsAnyOf(word.text, {"(", "[", "{", "E[", "P[", "TP["});
        if (closes) ++depth;
        if (opens && depth-- == 0) {
            openers.push_back(i);
            depth = 0;
        }
    }
    return openers;
}

std::string ConditionInArithmetic(const DescriptionOutline& outline, std::size_t token)
{
    for (std::size_t open : EnclosingBrackets(outline, token)) {
        const std::string& opener = outline.tokens[open].text;
        if (opener == "E[")
            return "E[...] takes a number: the probability of a condition is P[ ... ], a mean "
                   "under a condition E[ x IF condition ]";
        const std::string before = open > 0 ? outline.tokens[open - 1].text : "";
        if (opener == "(" && IsAnyOf(before, {"+", "-", "*", "/", "Exponential", "Deterministic",
                                              "Immediate", "Uniform"}))
            return "a condition cannot be used as a number inside arithmetic or a delay: give the "
                   "transition one binding per case, each with its guard, e.g. "
                   "[ ( #P > 2 ) ... ; Exponential(a) | ( #P <= 2 ) ... ; Exponential(b) ]";
    }
    return "";
}

}  // namespace

WordHint HintAtStop(const DescriptionOutline& outline, std::size_t token)
{
    const auto& tokens = outline.tokens;
    if (token >= tokens.size())
        return {
            "the description ends before it is complete: every page needs the sections "
            "ElementaryPlace, ProductPlace, Transition and Evaluate, and every `[` its `]`"};
    const DescriptionToken& word = tokens[token];
    const std::vector<ColourReference> colours = outline.Colours({token, token + 5});
    const bool tokenWord = word.text == "e" || (!colours.empty() && colours.front().token == token);
    if (tokenWord && token > 0 && tokens[token - 1].kind == TokenKind::Number) {
        std::string count = tokens[token - 1].text;
        if (count.back() == '.') count.pop_back();
        return {"a number of tokens is written with a quote: " + count + "'" + word.text};
    }
    if (IsPlainName(word)) {
        if (std::string slip = KeywordSlip(outline, token); !slip.empty()) return {slip};
        if (outline.DeclaresAt(token))
            return {"`" + word.text +
                    "` starts a new entry here: is a `|` (between places, "
                    "definitions or measures) or a `]` (after a transition) missing before it?"};
        return NameHint(outline, token);
    }
    if (word.text == ":" && token > 0 && IsPlainName(tokens[token - 1]))
        return {KeywordSlip(outline, token - 1)};
    if (IsConditionWord(word)) return {ConditionInArithmetic(outline, token)};
    return {};
}

bool IsSuspicious(const DescriptionOutline& outline, std::size_t token)
{
    if (token >= outline.tokens.size() || !IsPlainName(outline.tokens[token]) ||
        outline.DeclaresAt(token))
        return false;
    return !KeywordSlip(outline, token).empty() || !NameHint(outline, token).text.empty();
}

std::string UnknownPlaceHint(const OutlinePage& page, const std::string& written)
{
    std::vector<std::string> places;
    for (const OutlinePlace& place : page.places)
        places.push_back(LastNameComponent(place.fullName));
    const std::vector<std::string> near = NearestNames(LastNameComponent(written), places);
    return "`" + written + "` is not a place of page `" + page.name + "`" +
           (near.empty() ? "" : "; did you mean " + QuotedChoice(near) + "?");
}
