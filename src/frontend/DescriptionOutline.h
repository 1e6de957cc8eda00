// What mosk-solve knows of a description without running mosk: its pages,
// definitions, places, transitions and measures, each with the words it is
// written with. Read leniently: an outline is made of any text, and a part
// the reader would reject is left out or kept as far as it goes, so the
// checks and hints built on it only speak where they are sure.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "frontend/DescriptionTokens.h"

// Words [begin, end) of the description.
struct TokenRange {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool Empty() const { return begin >= end; }
};

// A definition, page parameter or measure: `name = value`.
struct OutlineEntry {
    std::string fullName;  // "\rate", "\Srv\meanservice"
    std::size_t nameToken = 0;
    TokenRange value;
};

struct OutlinePlace {
    std::string fullName;
    std::size_t nameToken = 0;
    bool product = false;
    TokenRange capacity;
    TokenRange marking;
};

struct OutlineArc {
    bool input = false;
    std::string place;  // as written
    std::size_t placeToken = 0;
    TokenRange inscription;
};

struct OutlineBinding {
    TokenRange guard;
    std::vector<OutlineArc> arcs;
    TokenRange weight;
    std::string delay;  // "Exponential", "Deterministic", "Immediate", "Uniform", "General"
    TokenRange delayArguments;
};

struct OutlineTransition {
    std::string fullName;
    std::size_t nameToken = 0;
    bool infiniteServer = false;
    TokenRange guard;
    std::vector<OutlineBinding> bindings;
    // A sub-transition: its page, and its socket -> port pairs as written.
    std::string subPage;
    std::vector<std::pair<std::string, std::string>> ports;
    std::size_t end = 0;  // the word after its closing "]"
};

struct OutlinePage {
    std::string name;  // "\" for the root, "\Srv" below it
    std::vector<OutlineEntry> parameters;
    std::vector<OutlinePlace> places;
    std::vector<OutlineTransition> transitions;
    std::vector<OutlineEntry> measures;
    std::size_t evaluateColon = 0;  // the ":" after "Evaluate" (0: none seen)
};

// A colour as written: name.step, name[version]step or name?; "?" stands
// for the version or step of a wildcard.
struct ColourReference {
    std::string name;
    std::string version;
    std::string step;
    std::size_t token = 0;
    bool IsWildcard() const { return version == "?" || step == "?"; }
    std::string Text() const;
};

struct DescriptionOutline {
    std::vector<DescriptionToken> tokens;
    std::vector<OutlineEntry> definitions;
    std::vector<OutlinePage> pages;
    std::vector<int> pageOfToken;  // index into pages, -1 before the first page

    // The full name a word written on `page` stands for.
    static std::string FullName(const std::string& page, const std::string& written);
    // A name as the engine reports it ("\\__ROOT__\\Srv\\x") the way the
    // outline writes it ("\\Srv\\x"; the root page is "\\").
    static std::string WithoutRoot(const std::string& fullName);

    const OutlinePage* FindPage(const std::string& name) const;
    // The page whose block holds word `token`, or null.
    const OutlinePage* PageOfToken(std::size_t token) const;
    // The parameter of `page`, else the definition, that a name written on
    // that page resolves to; null when it is neither.
    const OutlineEntry* Resolve(const OutlinePage& page, const std::string& written) const;
    const OutlineEntry* FindDefinition(const std::string& fullName) const;
    // A place declared on `page` or a port of it.
    bool IsPlaceOf(const OutlinePage& page, const std::string& written) const;
    // The full name of the place that a name written on `page` reaches: a
    // port of a sub-page leads to its socket on the master page.
    std::string PlaceReached(const OutlinePage& page, const std::string& written) const;
    // The declared place of that full name, or null.
    const OutlinePlace* FindPlace(const std::string& fullName) const;
    // Whether a binding has a deterministic, uniform or general delay (the
    // model is then a DSPN or an EDSPN).
    bool HasDeterministicOrGeneralDelays() const;

    // Whether word `token` declares a definition, parameter, place,
    // transition or measure; how many of those (measures aside) and pages
    // have `lastPart` as the last part of their name.
    bool DeclaresAt(std::size_t token) const;
    int CountDeclared(const std::string& lastPart) const;
    bool DeclaresNameAt(std::size_t token) const { return index.names.count(token) > 0; }

    // The text of the words of `range`, separated by blanks.
    std::string Text(TokenRange range) const;
    std::vector<ColourReference> Colours(TokenRange range) const;

    // Lookups by name, made once the outline is read (positions, not
    // pointers, so that outlines can be copied).
    struct Index {
        std::unordered_map<std::string, std::pair<std::size_t, std::size_t>> places;
        std::unordered_map<std::string, std::size_t> definitions;  // the first of a name
        // A port's full name -> its socket as written and the master page.
        std::unordered_map<std::string, std::pair<std::string, std::size_t>> sockets;
        std::unordered_map<std::string, int> declared;  // by last part of the name
        std::unordered_set<std::size_t> names;          // words declaring all but measures
        std::unordered_set<std::size_t> measures;       // words naming measures
    } index;
    void BuildIndex();
};

DescriptionOutline OutlineDescription(const std::string& text);
