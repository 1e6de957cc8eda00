// Throughputs over all markings. A transition T with one binding and a mean
// delay m that reads no marking fires, in the long run, (fraction of time in
// which it is enabled) / m times per time unit:
// - exponential, single server: memoryless, at rate 1/m whenever enabled;
// - deterministic or uniform: each firing ends an enabling period of mean
//   length m, provided no enabling period is cut short; that holds when T
//   has no guard, no other transition takes tokens from its input places and
//   its output places have no capacity;
// - exponential, infinite server with one input arc of q tokens: at rate
//   1/m times the enabling degree, the whole part of #X / q, which is what
//   E[...] takes of #X / q in every marking.
// The enabling condition is written from the arcs as mosk tests them: each
// input arc's tokens must be there, and each output arc's tokens (less what
// the binding takes from the same place) must fit the capacity.
#include "frontend/ThroughputOffer.h"

#include <algorithm>
#include <map>

#include "frontend/DefinitionNature.h"
#include "frontend/DescriptionLayout.h"

namespace {

struct TokenCount {
    std::string colour;  // "" for plain tokens
    int quantity = 1;
};

std::string Parenthesised(const std::string& text)
{
    return "( " + text + " )";
}

// A condition or number that joins others: parenthesised unless it is one
// word.
std::string Operand(const std::string& text)
{
    return text.find(' ') == std::string::npos ? text : Parenthesised(text);
}

class ExpressionBuilder {
public:
    ExpressionBuilder(const DescriptionOutline& outline, const OutlinePage& page)
        : outline(outline), page(page), tokens(outline.tokens)
    {
    }

    std::string For(const OutlineTransition& transition) const
    {
        if (transition.bindings.size() != 1 || !transition.subPage.empty()) return "";
        const OutlineBinding& binding = transition.bindings.front();
        const std::string mean = MeanDelay(binding);
        if (mean.empty()) return "";
        if (binding.delay == "Exponential" && transition.infiniteServer)
            return InfiniteServer(transition, binding, mean);
        const bool exponential = binding.delay == "Exponential";
        if (!exponential && !NeverCutShort(transition, binding)) return "";
        std::vector<std::string> conditions;
        for (TokenRange guard : {transition.guard, binding.guard}) {
            if (guard.Empty()) continue;
            if (!IsCopyableCondition(guard)) return "";
            conditions.push_back(outline.Text(guard));
        }
        if (!AddArcConditions(binding, conditions)) return "";
        std::string condition = conditions.size() == 1 ? conditions.front() : "";
        for (std::size_t i = 0; conditions.size() > 1 && i < conditions.size(); ++i)
            condition += (i == 0 ? "" : " & ") + Parenthesised(conditions[i]);
        return "P[ " + (condition.empty() ? std::string("TRUE") : condition) + " ] / " + mean;
    }

private:
    // The words keep their meaning in the Evaluate section of the page:
    // plain names only (that section reads full names as text and refuses
    // relative ones).
    bool HasPlainNamesOnly(TokenRange range) const
    {
        for (std::size_t i = range.begin; i < range.end; ++i)
            if (IsPlainName(tokens[i]) && tokens[i].text.find_first_of("\\'") != std::string::npos)
                return false;
        return true;
    }

    bool IsCopyableCondition(TokenRange range) const
    {
        bool condition = false;
        for (std::size_t i = range.begin; i < range.end; ++i) {
            if (IsAnyOf(tokens[i].text, {"E[", "P[", "TP["})) return false;
            condition = condition || IsConditionWord(tokens[i]);
        }
        return condition && HasPlainNamesOnly(range);
    }

    // A number that reads no marking, parenthesised; "" when the words are
    // anything else. Names are read on `namesPage`; null allows none.
    std::string Constant(TokenRange range, const OutlinePage* namesPage) const
    {
        if (range.Empty()) return "";
        for (std::size_t i = range.begin; i < range.end; ++i) {
            const DescriptionToken& word = tokens[i];
            if (word.kind == TokenKind::Number ||
                (word.kind == TokenKind::Symbol &&
                 IsAnyOf(word.text, {"+", "-", "*", "/", "(", ")"})))
                continue;
            if (!IsPlainName(word) || namesPage == nullptr) return "";
            const OutlineEntry* entry = outline.Resolve(*namesPage, word.text);
            if (entry == nullptr) return "";
            const ValueNature nature = NatureOf(outline, *entry);
            if (nature.kind != ValueKind::Number || nature.readsMarking) return "";
        }
        return HasPlainNamesOnly(range) ? Operand(outline.Text(range)) : "";
    }

    std::string MeanDelay(const OutlineBinding& binding) const
    {
        const TokenRange arguments = binding.delayArguments;
        if (binding.delay == "Exponential" || binding.delay == "Deterministic")
            return Constant(arguments, &page);
        if (binding.delay != "Uniform") return "";
        int depth = 0;
        for (std::size_t i = arguments.begin; i < arguments.end; ++i) {
            if (tokens[i].text == "(") ++depth;
            if (tokens[i].text == ")") --depth;
            if (depth != 0 || tokens[i].text != ",") continue;
            const std::string low = Constant({arguments.begin, i}, &page);
            const std::string high = Constant({i + 1, arguments.end}, &page);
            if (low.empty() || high.empty()) return "";
            return "( ( " + low + " + " + high + " ) / 2 )";
        }
        return "";
    }

    // The tokens of a constant inscription: e, 2'e, job.A, 3'job.A, sums of
    // them with + or in braces.
    bool Counts(TokenRange range, std::vector<TokenCount>& counts) const
    {
        std::size_t i = range.begin;
        std::size_t end = range.end;
        if (end - i >= 2 && tokens[i].text == "{" && tokens[end - 1].text == "}") {
            ++i;
            --end;
        }
        while (i < end) {
            TokenCount count;
            if (tokens[i].kind == TokenKind::Number && i + 1 < end && tokens[i + 1].text == "'") {
                if (tokens[i].text.size() > 5 ||
                    tokens[i].text.find_first_not_of("0123456789") != std::string::npos)
                    return false;
                count.quantity = std::stoi(tokens[i].text);
                i += 2;
            }
            if (i < end && tokens[i].text == "e" && IsKeyword(tokens[i])) {
                ++i;
            } else {
                const std::vector<ColourReference> colours = outline.Colours({i, end});
                if (colours.empty() || colours.front().token != i || colours.front().IsWildcard())
                    return false;
                count.colour = colours.front().Text();
                i += tokens[i + 1].text == "." ? 3 : 5;
            }
            if (count.quantity <= 0) return false;
            counts.push_back(count);
            if (i < end && !IsAnyOf(tokens[i].text, {"+", ","})) return false;
            if (i < end) ++i;
        }
        return !counts.empty();
    }

    static int Total(const std::vector<TokenCount>& counts)
    {
        int total = 0;
        for (const TokenCount& count : counts) total += count.quantity;
        return total;
    }

    static std::string Count(const std::string& place, const TokenCount& count)
    {
        return "#" + place + (count.colour.empty() ? "" : "(" + count.colour + ")");
    }

    const OutlinePlace* Reached(const std::string& written) const
    {
        return outline.FindPlace(outline.PlaceReached(page, written));
    }

    // The capacity of a place as a number of this page; "" when it has no
    // capacity, kUnknown when it is a condition or cannot be written here.
    std::string Capacity(const OutlinePlace& place) const
    {
        if (place.capacity.Empty()) return "";
        const bool samePage = ParentPath(place.fullName) == page.name;
        const std::string capacity = Constant(place.capacity, samePage ? &page : nullptr);
        return capacity.empty() ? kUnknown : capacity;
    }

    bool AddArcConditions(const OutlineBinding& binding, std::vector<std::string>& conditions) const
    {
        std::map<std::string, int> taken;  // by place reached
        bool hasInput = false;
        for (const OutlineArc& arc : binding.arcs) {
            if (!arc.input) continue;
            std::vector<TokenCount> counts;
            if (!Counts(arc.inscription, counts) ||
                !HasPlainNamesOnly({arc.placeToken, arc.placeToken + 1}))
                return false;
            for (const TokenCount& count : counts)
                conditions.push_back(Count(arc.place, count) +
                                     " >= " + std::to_string(count.quantity));
            taken[outline.PlaceReached(page, arc.place)] += Total(counts);
            hasInput = true;
        }
        std::map<std::string, int> outputs;
        for (const OutlineArc& arc : binding.arcs) {
            if (arc.input) continue;
            std::vector<TokenCount> counts;
            const OutlinePlace* place = Reached(arc.place);
            if (!Counts(arc.inscription, counts) || place == nullptr ||
                ++outputs[place->fullName] > 1)
                return false;
            const std::string capacity = Capacity(*place);
            if (capacity == kUnknown) return false;
            const int need = Total(counts) - (hasInput ? taken[place->fullName] : 0);
            if (capacity.empty() || need <= 0) continue;
            conditions.push_back("#" + arc.place + " + " + std::to_string(need) +
                                 " <= " + capacity);
        }
        return true;
    }

    bool NeverCutShort(const OutlineTransition& transition, const OutlineBinding& binding) const
    {
        if (!transition.guard.Empty() || !binding.guard.Empty()) return false;
        for (const OutlineArc& arc : binding.arcs) {
            const std::string place = outline.PlaceReached(page, arc.place);
            if (!arc.input) {
                const OutlinePlace* declared = outline.FindPlace(place);
                if (declared == nullptr || !declared->capacity.Empty()) return false;
                continue;
            }
            for (const OutlinePage& other : outline.pages)
                for (const OutlineTransition& competitor : other.transitions) {
                    if (&competitor == &transition) continue;
                    for (const OutlineBinding& b : competitor.bindings)
                        for (const OutlineArc& a : b.arcs)
                            if (a.input && outline.PlaceReached(other, a.place) == place)
                                return false;
                }
        }
        return true;
    }

    std::string InfiniteServer(const OutlineTransition& transition, const OutlineBinding& binding,
                               const std::string& mean) const
    {
        if (!transition.guard.Empty() || !binding.guard.Empty()) return "";
        const OutlineArc* input = nullptr;
        for (const OutlineArc& arc : binding.arcs)
            if (arc.input) {
                if (input != nullptr) return "";
                input = &arc;
            }
        std::vector<TokenCount> counts;
        if (input == nullptr || !Counts(input->inscription, counts) || counts.size() != 1 ||
            !HasPlainNamesOnly({input->placeToken, input->placeToken + 1}))
            return "";
        const std::string from = outline.PlaceReached(page, input->place);
        for (const OutlineArc& arc : binding.arcs) {
            const OutlinePlace* place = Reached(arc.place);
            if (!arc.input &&
                (place == nullptr || place->fullName == from || !place->capacity.Empty()))
                return "";
        }
        const TokenCount& count = counts.front();
        const std::string degree =
            Count(input->place, count) +
            (count.quantity == 1 ? "" : " / " + std::to_string(count.quantity));
        return "E[ " + degree + " ] / " + mean;
    }

    static inline const std::string kUnknown = "?";

    const DescriptionOutline& outline;
    const OutlinePage& page;
    const std::vector<DescriptionToken>& tokens;
};

const OutlineTransition* FindTransition(const OutlinePage& page, const std::string& written)
{
    const std::string full = DescriptionOutline::FullName(page.name, written);
    for (const OutlineTransition& transition : page.transitions)
        if (transition.fullName == full) return &transition;
    return nullptr;
}

// A measure name of the page that no definition, parameter or measure has.
std::string FreeName(const DescriptionOutline& outline, const OutlinePage& page, int& counter)
{
    for (;;) {
        const std::string name = "mosk_solve_tp" + std::to_string(++counter);
        const std::string full = DescriptionOutline::FullName(page.name, name);
        const bool taken =
            outline.Resolve(page, name) != nullptr ||
            std::any_of(page.measures.begin(), page.measures.end(),
                        [&](const OutlineEntry& measure) { return measure.fullName == full; });
        if (!taken) return full;
    }
}

}  // namespace

std::vector<ThroughputOffer> ThroughputOffers(const DescriptionOutline& outline)
{
    std::vector<ThroughputOffer> offers;
    if (!outline.HasDeterministicOrGeneralDelays()) return offers;
    int counter = 0;
    for (std::size_t p = 0; p < outline.pages.size(); ++p) {
        const OutlinePage& page = outline.pages[p];
        for (const OutlineEntry& measure : page.measures)
            for (std::size_t i = measure.value.begin; i + 1 < measure.value.end; ++i) {
                if (outline.tokens[i].text != "TP[" || !IsPlainName(outline.tokens[i + 1]))
                    continue;
                ThroughputOffer offer{measure.fullName, outline.tokens[i + 1].text, p, "", ""};
                const auto same = std::find_if(offers.begin(), offers.end(), [&](const auto& o) {
                    return o.page == p && o.transition == offer.transition;
                });
                if (same != offers.end()) {
                    offer.expression = same->expression;
                    offer.addedName = same->addedName;
                } else if (const OutlineTransition* t = FindTransition(page, offer.transition)) {
                    offer.expression = ExpressionBuilder(outline, page).For(*t);
                    if (!offer.expression.empty() && page.evaluateColon != 0)
                        offer.addedName = FreeName(outline, page, counter);
                }
                offers.push_back(offer);
            }
    }
    return offers;
}

std::string WithOfferedMeasures(std::string_view text, const DescriptionOutline& outline,
                                const std::vector<ThroughputOffer>& offers)
{
    // By offset, the last first, so that earlier offsets stay valid: the
    // page and the measures to insert after its "Evaluate :".
    std::map<std::size_t, std::pair<std::size_t, std::string>, std::greater<>> insertions;
    std::vector<std::string> added;
    for (const ThroughputOffer& offer : offers) {
        if (offer.addedName.empty() ||
            std::find(added.begin(), added.end(), offer.addedName) != added.end())
            continue;
        added.push_back(offer.addedName);
        const OutlinePage& page = outline.pages[offer.page];
        auto& [pageIndex, insertion] = insertions[outline.tokens[page.evaluateColon].offset + 1];
        pageIndex = offer.page;
        insertion += (insertion.empty() ? " " : " | ") + LastNameComponent(offer.addedName) +
                     " = " + offer.expression;
    }
    std::string result(text);
    for (const auto& [offset, insertion] : insertions) {
        const bool more = !outline.pages[insertion.first].measures.empty();
        result.insert(offset, insertion.second + (more ? " |" : ""));
    }
    return result;
}

std::vector<std::string> TakeOfferedValues(PassResults& results,
                                           const std::vector<ThroughputOffer>& offers)
{
    std::vector<std::string> values;
    for (const ThroughputOffer& offer : offers) {
        std::string value;
        for (const Measure& measure : results.measures)
            if (!offer.addedName.empty() && measure.name == offer.addedName) value = measure.value;
        values.push_back(value);
    }
    std::erase_if(results.measures, [&](const Measure& measure) {
        return std::any_of(offers.begin(), offers.end(), [&](const ThroughputOffer& offer) {
            return !offer.addedName.empty() && offer.addedName == measure.name;
        });
    });
    return values;
}
