// Reading the outline of a description on top of its layout, which says for
// every word its section, page and transition: definitions and parameters
// as the layout reads them, places and measures split at the separators at
// bracket depth 0, transitions parsed within their words. Where a part does
// not have the expected shape, it is left out or kept as far as it goes.
#include "frontend/DescriptionOutline.h"

#include <algorithm>

#include "frontend/DefinitionSection.h"
#include "frontend/DescriptionLayout.h"

namespace {

constexpr std::size_t kNone = DescriptionLayout::kNone;

bool Opens(const DescriptionToken& token)
{
    return token.kind == TokenKind::Symbol &&
           IsAnyOf(token.text, {"(", "[", "{", "E[", "P[", "TP["});
}

bool Closes(const DescriptionToken& token)
{
    return token.kind == TokenKind::Symbol && IsAnyOf(token.text, {")", "]", "}"});
}

bool IsSectionStart(const DescriptionToken& token)
{
    return IsKeyword(token) && IsSectionKeyword(token.text);
}

bool IsNameOrNumber(const DescriptionToken& token)
{
    return IsPlainName(token) || token.kind == TokenKind::Number;
}

class OutlineReader {
public:
    OutlineReader(DescriptionOutline& outline, const DescriptionLayout& layout)
        : outline(outline), layout(layout), tokens(outline.tokens)
    {
    }

    void Read()
    {
        for (const DefinitionEntry& definition : ReadDefinitions(tokens))
            outline.definitions.push_back({"\\" + definition.name,
                                           definition.nameToken,
                                           {definition.valueFirst, definition.valueLast}});
        for (const PageBlock& block : layout.pages) {
            OutlinePage page;
            page.name = DescriptionOutline::WithoutRoot(block.name);
            for (const PageParameter& parameter : block.parameters)
                page.parameters.push_back({DescriptionOutline::WithoutRoot(parameter.fullName),
                                           parameter.nameToken,
                                           {parameter.valueFirst, parameter.valueLast}});
            outline.pages.push_back(std::move(page));
        }
        outline.pageOfToken.assign(tokens.size(), -1);
        for (std::size_t i = 0; i < tokens.size(); ++i)
            if (layout.page[i] != kNone) outline.pageOfToken[i] = static_cast<int>(layout.page[i]);
        std::size_t i = 0;
        while (i < tokens.size()) {
            const std::size_t end = SectionEnd(i);
            if (layout.page[i] != kNone) {
                if (layout.section[i] == Section::Places) ReadPlaces({i, end});
                if (layout.section[i] == Section::Transition) ReadTransitions({i, end});
                if (layout.section[i] == Section::Evaluate) ReadMeasures({i, end});
            }
            i = end;
        }
    }

private:
    bool Is(std::size_t i, const char* text) const
    {
        return i < tokens.size() && tokens[i].text == text;
    }

    OutlinePage& Page(std::size_t i) { return outline.pages[layout.page[i]]; }

    // The end of the run of words from `i` that share its section and page.
    std::size_t SectionEnd(std::size_t i) const
    {
        std::size_t end = i + 1;
        while (end < tokens.size() && layout.section[end] == layout.section[i] &&
               layout.page[end] == layout.page[i])
            ++end;
        return end;
    }

    // The first word in [from, end) that is one of `stops` at bracket depth
    // 0, or a section keyword at any depth; `end` when there is none.
    std::size_t Find(std::size_t from, std::size_t end,
                     std::initializer_list<const char*> stops) const
    {
        int depth = 0;
        for (std::size_t i = from; i < end; ++i) {
            const DescriptionToken& token = tokens[i];
            if (IsSectionStart(token)) return i;
            if (depth == 0 && token.kind == TokenKind::Symbol && IsAnyOf(token.text, stops))
                return i;
            if (Opens(token)) ++depth;
            if (Closes(token) && depth > 0) --depth;
        }
        return end;
    }

    // The word that closes the bracket opened at `open`, or `end`.
    std::size_t Match(std::size_t open, std::size_t end) const
    {
        int depth = 0;
        for (std::size_t i = open; i < end; ++i) {
            if (Opens(tokens[i])) ++depth;
            if (Closes(tokens[i]) && --depth == 0) return i;
        }
        return end;
    }

    // Parts of `range` between the separators `separator` at depth 0.
    std::vector<TokenRange> Split(TokenRange range, const char* separator) const
    {
        std::vector<TokenRange> parts;
        std::size_t from = range.begin;
        for (;;) {
            const std::size_t stop = Find(from, range.end, {separator});
            parts.push_back({from, stop});
            if (stop >= range.end || !Is(stop, separator)) break;
            from = stop + 1;
        }
        return parts;
    }

    // The entries of a section: "|"-separated, after the section keywords
    // (and their ":") that the range holds.
    template <typename Reader>
    void ReadEntries(TokenRange range, Reader read)
    {
        std::size_t i = range.begin;
        while (i < range.end) {
            if (IsSectionStart(tokens[i])) {
                i += Is(i + 1, ":") ? 2 : 1;
                continue;
            }
            const std::size_t end = Find(i, range.end, {"|"});
            if (end > i) read(i, TokenRange{i, end});
            i = Is(end, "|") ? end + 1 : std::max(end, i + 1);
        }
    }

    void ReadPlaces(TokenRange range)
    {
        ReadEntries(range, [&](std::size_t, TokenRange entry) {
            const std::size_t i = entry.begin;
            if (!IsPlainName(tokens[i])) return;
            OutlinePlace place;
            place.fullName = DescriptionOutline::FullName(Page(i).name, tokens[i].text);
            place.nameToken = i;
            // The keyword of the place's section is the last before it.
            for (std::size_t k = i; k-- > range.begin;)
                if (IsSectionStart(tokens[k])) {
                    place.product = tokens[k].text == "ProductPlace";
                    break;
                }
            const std::vector<TokenRange> parts = Split({i + 1, entry.end}, ";");
            if (parts.size() >= 2) place.capacity = parts[1];
            if (parts.size() >= 3) place.marking = parts[2];
            Page(i).places.push_back(place);
        });
    }

    void ReadMeasures(TokenRange range)
    {
        OutlinePage& page = Page(range.begin);
        if (Is(range.begin, "Evaluate") && Is(range.begin + 1, ":"))
            page.evaluateColon = range.begin + 1;
        ReadEntries(range, [&](std::size_t i, TokenRange entry) {
            if (entry.end - i < 2 || !IsPlainName(tokens[i]) || !Is(i + 1, "=")) return;
            page.measures.push_back(
                {DescriptionOutline::FullName(page.name, tokens[i].text), i, {i + 2, entry.end}});
        });
    }

    void ReadTransitions(TokenRange range)
    {
        std::size_t i = range.begin;
        while (i < range.end) {
            const std::size_t transition = layout.transition[i];
            std::size_t end = i + 1;
            while (end < range.end && layout.transition[end] == transition) ++end;
            if (transition != kNone) ReadTransition({i, end});
            i = end;
        }
    }

    void ReadTransition(TokenRange span)
    {
        const std::size_t i = span.begin;
        if (!IsPlainName(tokens[i])) return;
        OutlineTransition transition;
        transition.fullName = DescriptionOutline::FullName(Page(i).name, tokens[i].text);
        transition.nameToken = i;
        transition.end = span.end;
        std::size_t k = i + 1;
        if (Is(k, "ES") || Is(k, "IS")) transition.infiniteServer = Is(k++, "IS");
        if (Is(k, "(")) {
            const std::size_t close = Match(k, span.end);
            transition.guard = {k + 1, close};
            k = close + 1;
        }
        if (Is(k, "[")) {
            const TokenRange body{k + 1, Match(k, span.end)};
            if (Is(body.begin, "subpage"))
                ReadSubTransition(body, transition);
            else
                for (TokenRange part : Split(body, "|"))
                    transition.bindings.push_back(ReadBinding(part));
        }
        Page(i).transitions.push_back(transition);
    }

    void ReadSubTransition(TokenRange body, OutlineTransition& transition) const
    {
        const std::size_t page = body.begin + 1;
        if (page < body.end && IsPlainName(tokens[page]))
            transition.subPage = DescriptionOutline::FullName("\\", tokens[page].text);
        std::size_t from = body.begin;
        while (from < body.end && !Is(from, "assign")) ++from;
        if (from >= body.end) return;
        for (TokenRange pair : Split({from + 1, body.end}, ",")) {
            const std::size_t p = pair.begin;
            if (pair.end - p == 3 && Is(p + 1, "->"))
                transition.ports.emplace_back(tokens[p].text, tokens[p + 2].text);
        }
    }

    OutlineBinding ReadBinding(TokenRange range) const
    {
        OutlineBinding binding;
        std::size_t k = range.begin;
        if (Is(k, "(")) {
            const std::size_t close = Match(k, range.end);
            binding.guard = {k + 1, close};
            k = close + 1;
        }
        const std::size_t semicolon = Find(k, range.end, {";"});
        for (TokenRange part : Split({k, semicolon}, ",")) {
            const std::size_t p = part.begin;
            if (part.end - p < 3 || !(Is(p, "in#") || Is(p, "out#")) ||
                !IsPlainName(tokens[p + 1]) || !Is(p + 2, "="))
                continue;
            binding.arcs.push_back({Is(p, "in#"), tokens[p + 1].text, p + 1, {p + 3, part.end}});
        }
        if (semicolon >= range.end) return binding;
        std::size_t delay = semicolon + 1;
        const std::size_t second = Find(delay, range.end, {";"});
        if (second < range.end) {
            binding.weight = {delay, second};
            delay = second + 1;
        }
        if (delay >= range.end) return binding;
        const DescriptionToken& word = tokens[delay];
        if (word.kind == TokenKind::General) {
            binding.delay = "General";
        } else if (IsAnyOf(word.text, {"Exponential", "Deterministic", "Immediate", "Uniform"})) {
            binding.delay = word.text;
            if (Is(delay + 1, "("))
                binding.delayArguments = {delay + 2, Match(delay + 1, range.end)};
        }
        return binding;
    }

    DescriptionOutline& outline;
    const DescriptionLayout& layout;
    const std::vector<DescriptionToken>& tokens;
};

}  // namespace

std::string ColourReference::Text() const
{
    if (version == "?" && step == "?") return name + "?";
    if (version == "0") return name + "." + step;
    return name + "[" + version + "]" + step;
}

std::string DescriptionOutline::FullName(const std::string& page, const std::string& written)
{
    if (!written.empty() && written.front() == '\\') return written;
    return page == "\\" ? "\\" + written : page + "\\" + written;
}

std::string DescriptionOutline::WithoutRoot(const std::string& fullName)
{
    const std::string root = "\\__ROOT__";
    if (fullName.compare(0, root.size(), root) != 0) return fullName;
    return fullName.size() == root.size() ? "\\" : fullName.substr(root.size());
}

const OutlinePage* DescriptionOutline::FindPage(const std::string& name) const
{
    for (const OutlinePage& page : pages)
        if (page.name == name) return &page;
    return nullptr;
}

const OutlinePage* DescriptionOutline::PageOfToken(std::size_t token) const
{
    if (token >= pageOfToken.size() || pageOfToken[token] < 0) return nullptr;
    return &pages[static_cast<std::size_t>(pageOfToken[token])];
}

const OutlineEntry* DescriptionOutline::FindDefinition(const std::string& fullName) const
{
    const auto found = index.definitions.find(fullName);
    return found == index.definitions.end() ? nullptr : &definitions[found->second];
}

const OutlineEntry* DescriptionOutline::Resolve(const OutlinePage& page,
                                                const std::string& written) const
{
    const std::string full = FullName(page.name, written);
    for (const OutlineEntry& parameter : page.parameters)
        if (parameter.fullName == full) return &parameter;
    return FindDefinition(full);
}

bool DescriptionOutline::IsPlaceOf(const OutlinePage& page, const std::string& written) const
{
    const std::string full = FullName(page.name, written);
    return index.places.count(full) > 0 || index.sockets.count(full) > 0;
}

std::string DescriptionOutline::PlaceReached(const OutlinePage& page,
                                             const std::string& written) const
{
    std::string full = FullName(page.name, written);
    // A socket may itself be a port of the page above; the walk is bounded
    // in case a (refused) description makes pages refine each other.
    for (std::size_t level = 0; level <= pages.size(); ++level) {
        const auto socket = index.sockets.find(full);
        if (socket == index.sockets.end()) break;
        full = FullName(pages[socket->second.second].name, socket->second.first);
    }
    return full;
}

const OutlinePlace* DescriptionOutline::FindPlace(const std::string& fullName) const
{
    const auto found = index.places.find(fullName);
    if (found == index.places.end()) return nullptr;
    return &pages[found->second.first].places[found->second.second];
}

bool DescriptionOutline::DeclaresAt(std::size_t token) const
{
    return index.names.count(token) > 0 || index.measures.count(token) > 0;
}

int DescriptionOutline::CountDeclared(const std::string& lastPart) const
{
    const auto found = index.declared.find(lastPart);
    return found == index.declared.end() ? 0 : found->second;
}

void DescriptionOutline::BuildIndex()
{
    index = Index{};
    auto name = [&](const std::string& fullName, std::size_t token) {
        ++index.declared[LastNameComponent(fullName)];
        index.names.insert(token);
    };
    for (std::size_t d = 0; d < definitions.size(); ++d) {
        index.definitions.emplace(definitions[d].fullName, d);
        name(definitions[d].fullName, definitions[d].nameToken);
    }
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const OutlinePage& page = pages[p];
        if (page.name != "\\") ++index.declared[LastNameComponent(page.name)];
        for (const OutlineEntry& parameter : page.parameters)
            name(parameter.fullName, parameter.nameToken);
        for (std::size_t k = 0; k < page.places.size(); ++k) {
            index.places.emplace(page.places[k].fullName, std::make_pair(p, k));
            name(page.places[k].fullName, page.places[k].nameToken);
        }
        for (const OutlineTransition& transition : page.transitions) {
            name(transition.fullName, transition.nameToken);
            for (const auto& [socket, port] : transition.ports)
                if (!transition.subPage.empty())
                    index.sockets.emplace(FullName(transition.subPage, LastNameComponent(port)),
                                          std::make_pair(socket, p));
        }
        for (const OutlineEntry& measure : page.measures) index.measures.insert(measure.nameToken);
    }
}

bool DescriptionOutline::HasDeterministicOrGeneralDelays() const
{
    for (const OutlinePage& page : pages)
        for (const OutlineTransition& transition : page.transitions)
            for (const OutlineBinding& binding : transition.bindings)
                if (binding.delay == "Deterministic" || binding.delay == "Uniform" ||
                    binding.delay == "General")
                    return true;
    return false;
}

std::string DescriptionOutline::Text(TokenRange range) const
{
    std::string text;
    for (std::size_t i = range.begin; i < range.end && i < tokens.size(); ++i)
        text += (text.empty() ? "" : " ") + tokens[i].text;
    return text;
}

std::vector<ColourReference> DescriptionOutline::Colours(TokenRange range) const
{
    std::vector<ColourReference> colours;
    const std::size_t end = std::min(range.end, tokens.size());
    auto is = [&](std::size_t i, const char* text) { return i < end && tokens[i].text == text; };
    auto step = [&](std::size_t i) { return i < end && IsNameOrNumber(tokens[i]); };
    for (std::size_t i = range.begin; i < end; ++i) {
        if (!IsPlainName(tokens[i])) continue;
        ColourReference colour{tokens[i].text, "", "", i};
        if (is(i + 1, "?")) {
            colour.version = colour.step = "?";
        } else if (is(i + 1, ".") && step(i + 2)) {
            colour.version = "0";
            colour.step = tokens[i + 2].text;
        } else if (is(i + 1, "[") && (step(i + 2) || is(i + 2, "?")) && is(i + 3, "]") &&
                   step(i + 4)) {
            colour.version = tokens[i + 2].text;
            colour.step = tokens[i + 4].text;
        } else {
            continue;
        }
        colours.push_back(colour);
    }
    return colours;
}

DescriptionOutline OutlineDescription(const std::string& text)
{
    DescriptionOutline outline;
    outline.tokens = TokenizeDescription(text);
    OutlineReader(outline, LayOutDescription(outline.tokens)).Read();
    outline.BuildIndex();
    return outline;
}
