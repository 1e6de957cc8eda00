// The colours a place can hold are those of its initial marking and of the
// arcs into it; where an arc copies tokens of other places (@) or names a
// definition, any colour of the net may come, and the warning does not say
// which one is counted. A place's colours are ordered by their first
// appearance in the description, the order in which mosk numbers them, and
// a filtered count takes the first of them that matches.
#include "frontend/MeasureWarnings.h"

#include <unordered_set>

namespace {

bool Matches(const ColourReference& wildcard, const ColourReference& colour)
{
    if (colour.IsWildcard() || colour.name != wildcard.name) return false;
    return wildcard.step == "?" || colour.step == wildcard.step;
}

class ColourWarnings {
public:
    explicit ColourWarnings(const DescriptionOutline& outline) : outline(outline)
    {
        std::unordered_set<std::string> seen;
        for (const ColourReference& colour : outline.Colours({0, outline.tokens.size()}))
            if (!colour.IsWildcard() && seen.insert(colour.Text()).second) order.push_back(colour);
    }

    void Add(std::vector<std::string>& warnings) const
    {
        for (const OutlinePage& page : outline.pages)
            for (const OutlineEntry& measure : page.measures)
                for (const ColourReference& wildcard : outline.Colours(measure.value)) {
                    if (!wildcard.IsWildcard()) continue;
                    const std::size_t place = FilteredPlace(wildcard.token, measure.value);
                    if (place == 0) continue;
                    const std::string warning = For(page, measure, wildcard, place);
                    if (!warning.empty()) warnings.push_back(warning);
                }
    }

private:
    // The word naming the place of the count or content (#P(...), @P(...))
    // whose filter holds the word `token`; 0 when it is in none.
    std::size_t FilteredPlace(std::size_t token, TokenRange measure) const
    {
        const auto& tokens = outline.tokens;
        int depth = 0;
        for (std::size_t i = token; i-- > measure.begin;) {
            if (tokens[i].text == ")") ++depth;
            if (tokens[i].text != "(" || depth-- > 0) continue;
            if (i >= measure.begin + 2 && IsPlainName(tokens[i - 1]) &&
                IsAnyOf(tokens[i - 2].text, {"#", "@"}))
                return i - 1;
            return 0;
        }
        return 0;
    }

    // The colours that can reach the place (full name), in mosk's order;
    // `exact` is false when any colour of the net might.
    std::vector<ColourReference> ColoursOf(const std::string& place, bool& exact) const
    {
        std::unordered_set<std::string> found;
        exact = true;
        auto add = [&](TokenRange range) {
            for (const ColourReference& colour : outline.Colours(range))
                found.insert(colour.Text());
        };
        if (const OutlinePlace* declared = outline.FindPlace(place)) add(declared->marking);
        for (const OutlinePage& page : outline.pages)
            for (const OutlineTransition& transition : page.transitions)
                for (const OutlineBinding& binding : transition.bindings)
                    for (const OutlineArc& arc : binding.arcs) {
                        if (arc.input || outline.PlaceReached(page, arc.place) != place) continue;
                        add(arc.inscription);
                        for (std::size_t i = arc.inscription.begin; i < arc.inscription.end; ++i)
                            if (outline.tokens[i].text == "@" || IsDefinitionName(i)) exact = false;
                    }
        std::vector<ColourReference> colours;
        for (const ColourReference& colour : order)
            if (!exact || found.count(colour.Text()) > 0) colours.push_back(colour);
        return colours;
    }

    // A name in an inscription that is not part of a colour.
    bool IsDefinitionName(std::size_t i) const
    {
        const auto& tokens = outline.tokens;
        if (!IsPlainName(tokens[i])) return false;
        const bool inColour =
            (i + 1 < tokens.size() && IsAnyOf(tokens[i + 1].text, {".", "?", "["})) ||
            (i > 0 && IsAnyOf(tokens[i - 1].text, {".", "]", "["}));
        return !inColour;
    }

    std::string For(const OutlinePage& page, const OutlineEntry& measure,
                    const ColourReference& wildcard, std::size_t placeWord) const
    {
        const std::string& written = outline.tokens[placeWord].text;
        const std::string counted = outline.tokens[placeWord - 1].text + written;  // #P or @P
        bool exact = true;
        std::string list;
        std::size_t matching = 0;
        std::string first;
        for (const ColourReference& colour :
             ColoursOf(outline.PlaceReached(page, written), exact)) {
            if (!Matches(wildcard, colour)) continue;
            list += (list.empty() ? "" : ", ") + colour.Text();
            if (matching++ == 0) first = colour.Text();
        }
        if (matching < 2) return "";
        return "warning: `" + wildcard.Text() + "` in measure `" +
               LastNameComponent(measure.fullName) + "` matches " + list + " but " +
               counted + "(" + wildcard.Text() + ") counts only the first of them that " + written +
               " can hold" + (exact ? " (" + first + ")" : "") +
               "; to count them all, name each: " + counted + "({" + list + "})";
    }

    const DescriptionOutline& outline;
    std::vector<ColourReference> order;  // the colours of the net by first appearance
};

}  // namespace

std::vector<std::string> MeasureWarnings(const DescriptionOutline& outline,
                                         const std::vector<ThroughputOffer>& offers)
{
    std::vector<std::string> warnings;
    ColourWarnings(outline).Add(warnings);
    for (const ThroughputOffer& offer : offers) {
        std::string warning = "warning: TP[" + offer.transition + "] in measure `" +
                              LastNameComponent(offer.measure) +
                              "` counts firings only in markings where no deterministic or "
                              "general transition is enabled; ";
        if (offer.expression.empty())
            warning += "write the throughput of " + offer.transition +
                       " as its rate times the probability that it is enabled";
        else
            warning += "over all markings the throughput of " + offer.transition + " is " +
                       offer.expression +
                       (offer.addedName.empty() ? "" : ", whose value follows the results");
        warnings.push_back(warning);
    }
    return warnings;
}

std::string OfferedValueNote(const ThroughputOffer& offer, const std::vector<std::string>& values)
{
    std::string list;
    for (const std::string& value : values) list += (list.empty() ? "" : ", ") + value;
    return "throughput of " + offer.transition + " over all markings (for TP[" + offer.transition +
           "] in `" + LastNameComponent(offer.measure) + "`): " + list +
           (values.size() > 1 ? " (one per row of the sweep)" : "");
}
