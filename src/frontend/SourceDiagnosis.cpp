// Locating an error report in the description. Reports of the lexer name
// the word; reports of the parser name the line, and the word is found by
// asking the reader (ReadingStop) or, for the parser's own checks, by what
// the check is about; reports of the class check name objects, which are
// looked up in the outline.
#include "frontend/SourceDiagnosis.h"

#include <cstdlib>
#include <optional>
#include <unordered_map>

#include "frontend/DescriptionOutline.h"
#include "frontend/NearestNames.h"
#include "frontend/SourceExcerpt.h"
#include "frontend/WordHints.h"

namespace {

constexpr std::size_t kNone = WordHint::kNoToken;

struct Finding {
    std::size_t token = kNone;  // the word to mark; tokens.size(): the end
    int line = 0;               // reader line, when no word can be marked
    WordHint hint;
};

bool Contains(const std::string& text, const char* words)
{
    return text.find(words) != std::string::npos;
}

class Locator {
public:
    Locator(const std::string& text, const ErrorReport& report, const PrefixReader& reads)
        : text(text), outline(OutlineDescription(text)), report(report), reads(reads)
    {
    }

    std::optional<Finding> Find()
    {
        const int line = std::atoi(report.line.c_str());
        if (report.function == "yylex()" && line > 0) return Lexical(line);
        if (report.function == "yyparse()" && line > 0) return Syntax(line);
        return Named();
    }

    const DescriptionOutline& Outline() const { return outline; }

private:
    const std::vector<DescriptionToken>& Tokens() const { return outline.tokens; }

    std::vector<std::size_t> WordsOn(int line) const
    {
        std::vector<std::size_t> words;
        for (std::size_t i = 0; i < Tokens().size(); ++i)
            if (Tokens()[i].readerLine == line) words.push_back(i);
        return words;
    }

    Finding OnLine(int line, std::size_t token, WordHint hint = {}) const
    {
        Finding finding{token, line, std::move(hint)};
        return finding;
    }

    Finding Lexical(int line) const
    {
        for (std::size_t i : WordsOn(line))
            if (Tokens()[i].text == report.info2) return OnLine(line, i, {LexicalHint(i)});
        return OnLine(line, kNone, {LexicalHint(kNone)});
    }

    std::string LexicalHint(std::size_t token) const
    {
        const std::string& what = report.description;
        const std::string word = token == kNone ? report.info2 : Tokens()[token].text;
        if (Contains(what, "converting string to double"))
            return "write zero as 0 or 0.0, and other numbers with a digit after the point (0.5, "
                   "2.0)";
        if (Contains(what, "converting string to long int"))
            return "a whole number must stay below 2147483648";
        if (Contains(what, "wrong section order"))
            return "the sections come in this order: Definition once, then for each page "
                   "Parameter, Page, ElementaryPlace and ProductPlace, Transition, Evaluate";
        if (Contains(what, "undefined character"))
            return "the characters ` ^ % ~ may only stand inside General(...)";
        if (Contains(what, "can't get path of string"))
            return "definitions are written with their full name: \\" + word + " = ...";
        if (Contains(what, "pagename")) return "pages are named from the root: Page : \\Name";
        if (Contains(what, "evalstring with relativ path"))
            return "measures use the plain names of their page, or full names such as \\Name";
        if (Contains(what, "loop"))
            return "`" + word +
                   "` leads back to itself through definitions or parameters that "
                   "name each other";
        return "";
    }

    Finding Syntax(int line) const
    {
        const std::vector<std::size_t> words = WordsOn(line);
        const std::string& what = report.description;
        if (what == "parse error") return ParseError(line, words);
        if (Contains(what, "placename not found")) return UnknownPlace(line, words);
        if (Contains(what, "exists")) return Duplicate(line);
        if (Contains(what, "not from this page"))
            return FirstArc(
                line, words,
                "an arc reaches only places of its own page; a place of another page is "
                "reached through a port of a sub-transition (socket -> port)");
        if (what == "unallowed weight")
            return OnLine(line, FirstOf(words, {"0", "0.0"}), {"a weight must be above 0"});
        if (Contains(what, "delay type mixture"))
            return OnLine(line, kNone,
                          {"the bindings of one transition have one kind of delay: an "
                           "immediate binding cannot stand beside a timed one"});
        if (Contains(what, "IS transition"))
            return OnLine(line, kNone,
                          {"an infinite-server (IS) transition is exponential or immediate; "
                           "make it single-server (ES)"});
        if (Contains(what, "uniform delay is not correct"))
            return OnLine(line, FirstOf(words, {"Uniform"}), {"Uniform(a, b) needs a <= b"});
        return OnLine(line, ByName(words, report.info2));
    }

    Finding ParseError(int line, const std::vector<std::size_t>& words) const
    {
        if (words.empty()) {
            const bool atEnd = Tokens().empty() || Tokens().back().readerLine < line;
            return atEnd ? OnLine(line, Tokens().size(), HintAtStop(outline, Tokens().size()))
                         : OnLine(line, kNone);
        }
        std::size_t stop = FindReadingStop(text, Tokens(), words, reads);
        if (stop == kStopUnknown)
            for (std::size_t i : words)
                if (IsSuspicious(outline, i)) {
                    stop = i;
                    break;
                }
        if (stop == kStopUnknown) return OnLine(line, kNone);
        return OnLine(line, stop, HintAtStop(outline, stop));
    }

    std::size_t FirstOf(const std::vector<std::size_t>& words,
                        std::initializer_list<const char*> texts) const
    {
        for (std::size_t i : words)
            for (const char* t : texts)
                if (Tokens()[i].text == t) return i;
        return kNone;
    }

    std::size_t ByName(const std::vector<std::size_t>& words, const std::string& reported) const
    {
        if (reported.empty()) return kNone;
        const std::string name = LastNameComponent(DescriptionOutline::WithoutRoot(reported));
        for (std::size_t i : words)
            if (IsPlainName(Tokens()[i]) && LastNameComponent(Tokens()[i].text) == name) return i;
        return kNone;
    }

    // An arc or a socket on the line that names no place of its page.
    Finding UnknownPlace(int line, const std::vector<std::size_t>& words) const
    {
        for (std::size_t i : words) {
            const OutlinePage* page = outline.PageOfToken(i);
            const DescriptionToken& word = Tokens()[i];
            const bool arc =
                i > 0 && (Tokens()[i - 1].text == "in#" || Tokens()[i - 1].text == "out#");
            const bool socket = i + 1 < Tokens().size() && Tokens()[i + 1].text == "->";
            if (page == nullptr || !IsPlainName(word) || !(arc || socket) ||
                outline.IsPlaceOf(*page, word.text))
                continue;
            return OnLine(line, i, {UnknownPlaceHint(*page, word.text)});
        }
        return OnLine(line, kNone);
    }

    Finding FirstArc(int line, const std::vector<std::size_t>& words, const char* hint) const
    {
        return OnLine(line, FirstOf(words, {"in#", "out#"}), {hint});
    }

    // The second declaration of a name declared twice, pointing to the first.
    Finding Duplicate(int line) const
    {
        std::unordered_map<std::string, std::size_t> seen;  // the first declaration
        auto check = [&](const std::string& fullName, std::size_t token) -> std::optional<Finding> {
            const auto [first, isNew] = seen.emplace(fullName, token);
            if (isNew) return std::nullopt;
            const std::string name = "`" + LastNameComponent(fullName) + "`";
            return OnLine(
                line, token,
                {name + " is declared twice", first->second, name + " is first declared here"});
        };
        const std::string& what = report.description;
        if (Contains(what, "definition"))
            for (const OutlineEntry& definition : outline.definitions)
                if (auto found = check(definition.fullName, definition.nameToken)) return *found;
        for (const OutlinePage& page : outline.pages) {
            if (what == "place exists")
                for (const OutlinePlace& place : page.places)
                    if (auto found = check(place.fullName, place.nameToken)) return *found;
            if (Contains(what, "transitionname"))
                for (const OutlineTransition& transition : page.transitions)
                    if (auto found = check(transition.fullName, transition.nameToken))
                        return *found;
        }
        return OnLine(line, kNone);
    }

    // Class-check reports: info1 names the place or transition, info2 the
    // transition, definition or measure in which it was met.
    std::optional<Finding> Named() const
    {
        const std::string& what = report.description;
        const std::string object = DescriptionOutline::WithoutRoot(report.info1);
        const std::string owner = DescriptionOutline::WithoutRoot(report.info2);
        if (what == "can't get place") return PlaceUse(object, owner);
        if (Contains(what, "transitionname in rating cell")) return ThroughputUse(object);
        if (Contains(what, "arccolor")) return ArcInto(object, owner);
        const OutlinePlace* place = outline.FindPlace(object);
        if (place == nullptr) return std::nullopt;
        const std::string name = "`" + LastNameComponent(object) + "`";
        const std::size_t marking =
            place->marking.Empty() ? place->nameToken : place->marking.begin;
        if (Contains(what, "capacity < initial marking"))
            return OnLine(0, marking, {"the initial marking of " + name + " exceeds its capacity"});
        if (Contains(what, "initial marking")) return OnLine(0, marking, {ColourRule()});
        if (Contains(what, "collected empty tokenmultiset"))
            return OnLine(0, place->nameToken,
                          {"no arc puts tokens on " + name +
                           " and it has no initial marking: give it one, or remove the place"});
        if (Contains(what, "loop in functions"))
            return OnLine(0, place->nameToken,
                          {"an arc into " + name + " takes its tokens from " + name +
                           " itself (through @), directly or through other places"});
        return std::nullopt;
    }

    static std::string ColourRule()
    {
        return "an ElementaryPlace holds plain tokens (e, 2'e); coloured tokens (job.A) belong in "
               "a ProductPlace";
    }

    // The words of the transition, definition or measure `owner`.
    std::optional<TokenRange> Extent(const std::string& owner) const
    {
        auto entry = [&](const std::vector<OutlineEntry>& entries) -> std::optional<TokenRange> {
            for (const OutlineEntry& e : entries)
                if (e.fullName == owner) return TokenRange{e.nameToken, e.value.end};
            return std::nullopt;
        };
        if (auto found = entry(outline.definitions)) return found;
        for (const OutlinePage& page : outline.pages) {
            if (auto found = entry(page.measures)) return found;
            for (const OutlineTransition& transition : page.transitions)
                if (transition.fullName == owner)
                    return TokenRange{transition.nameToken, transition.end};
        }
        return std::nullopt;
    }

    std::optional<Finding> PlaceUse(const std::string& place, const std::string& owner) const
    {
        const std::optional<TokenRange> extent = Extent(owner);
        if (!extent) return std::nullopt;
        for (std::size_t i = extent->begin + 1; i < extent->end; ++i) {
            const OutlinePage* page = outline.PageOfToken(i);
            const std::string& before = Tokens()[i - 1].text;
            if (page != nullptr && (before == "#" || before == "@") &&
                DescriptionOutline::FullName(page->name, Tokens()[i].text) == place)
                return OnLine(0, i, {UnknownPlaceHint(*page, Tokens()[i].text)});
        }
        return std::nullopt;
    }

    std::optional<Finding> ThroughputUse(const std::string& transition) const
    {
        for (const OutlinePage& page : outline.pages)
            for (const OutlineEntry& measure : page.measures)
                for (std::size_t i = measure.value.begin; i + 1 < measure.value.end; ++i)
                    if (Tokens()[i].text == "TP[" &&
                        DescriptionOutline::FullName(page.name, Tokens()[i + 1].text) ==
                            transition) {
                        std::vector<std::string> names;
                        for (const OutlineTransition& t : page.transitions)
                            if (t.subPage.empty()) names.push_back(LastNameComponent(t.fullName));
                        return OnLine(0, i + 1,
                                      {UnknownTransitionHint(Tokens()[i + 1].text, page, names)});
                    }
        return std::nullopt;
    }

    static std::string UnknownTransitionHint(const std::string& word, const OutlinePage& page,
                                             const std::vector<std::string>& names);

    std::optional<Finding> ArcInto(const std::string& place, const std::string& owner) const
    {
        for (const OutlinePage& page : outline.pages)
            for (const OutlineTransition& transition : page.transitions) {
                if (transition.fullName != owner) continue;
                for (const OutlineBinding& binding : transition.bindings)
                    for (const OutlineArc& arc : binding.arcs)
                        if (DescriptionOutline::FullName(page.name, arc.place) == place)
                            return OnLine(0, arc.inscription.begin, {ColourRule()});
            }
        return std::nullopt;
    }

    const std::string& text;
    DescriptionOutline outline;
    const ErrorReport& report;
    const PrefixReader& reads;
};

std::string Locator::UnknownTransitionHint(const std::string& word, const OutlinePage& page,
                                           const std::vector<std::string>& names)
{
    const std::vector<std::string> near = NearestNames(word, names);
    return "`" + word + "` is not a transition of page `" + page.name + "`" +
           (near.empty() ? "" : "; did you mean " + QuotedChoice(near) + "?");
}

std::string Place(const std::string& path, const SourceLines& lines, std::size_t offset)
{
    const int line = lines.LineOf(offset);
    const std::size_t column = offset - lines.StartOf(line) + 1;
    return path + ":" + std::to_string(line) + ":" + std::to_string(column);
}

}  // namespace

std::string DiagnoseReport(const std::string& path, const std::string& description,
                           const ErrorReport& report, const PrefixReader& reads)
{
    Locator locator(description, report, reads);
    const std::optional<Finding> finding = locator.Find();
    if (!finding) return "";
    const auto& tokens = locator.Outline().tokens;
    const SourceLines lines(description);
    std::string shown;
    const std::string message = report.description.empty() ? "error" : report.description;
    if (finding->token < tokens.size()) {
        const DescriptionToken& word = tokens[finding->token];
        shown = Place(path, lines, word.offset) + ": " + message + "\n" +
                Excerpt(lines, word.offset, word.text.size());
    } else if (finding->token == tokens.size() && !tokens.empty()) {
        const DescriptionToken& last = tokens.back();
        const std::size_t end = last.offset + last.text.size();
        shown = Place(path, lines, end) + ": " + message + " (at the end of the description)\n" +
                Excerpt(lines, end, 1);
    } else {
        // Only the line is known: the reader's count skips line ends inside
        // comments, so take the line of a word it counted there.
        std::size_t offset = description.size() + 1;
        for (const DescriptionToken& word : tokens)
            if (word.readerLine == finding->line) {
                offset = word.offset;
                break;
            }
        if (offset > description.size()) return "";
        shown = path + ":" + std::to_string(lines.LineOf(offset)) + ": " + message + "\n" +
                Excerpt(lines, lines.StartOf(lines.LineOf(offset)), 0);
    }
    if (!finding->hint.text.empty()) shown += "  hint: " + finding->hint.text + "\n";
    if (finding->hint.related < tokens.size()) {
        const DescriptionToken& word = tokens[finding->hint.related];
        shown += Place(path, lines, word.offset) + ": note: " + finding->hint.relatedNote + "\n" +
                 Excerpt(lines, word.offset, word.text.size());
    }
    return shown;
}
