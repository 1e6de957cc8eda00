// The name lookup follows the reader's: on a page, a name is first a
// parameter of that page, then a global definition. A parameter whose value
// is a single name follows that name, among the parameters of its page, then
// of the pages it refines, then the definitions. Every token that could name
// the definition (same last component) must be accounted for; one that is
// not makes the answer "no".
#include "frontend/RateOnlyUse.h"

#include <set>

namespace {

constexpr std::size_t kNone = DescriptionLayout::kNone;
constexpr int kDeepestLookup = 32;
const std::string kRoot = "\\__ROOT__";

class RateOnlyCheck {
public:
    RateOnlyCheck(const std::vector<DescriptionToken>& tokens, const DescriptionLayout& layout,
                  const DefinitionEntry& definition)
        : tokens(tokens), layout(layout), definition(definition)
    {
    }

    std::optional<std::vector<DelayTarget>> Run();

private:
    const PageParameter* ParameterOf(std::size_t page, const std::string& fullName) const;
    std::size_t PageNamed(const std::string& name) const;
    bool Follows(const PageParameter& parameter, std::size_t page, int depth) const;
    bool TextNamesDefinition(const std::string& fullName, std::size_t page, int depth) const;
    bool NameOnPageIsDefinition(const std::string& fullName, std::size_t page) const;
    bool IsExponentialDelay(std::size_t i) const;
    bool Accounted(std::size_t i, std::vector<DelayTarget>& targets) const;

    const std::vector<DescriptionToken>& tokens;
    const DescriptionLayout& layout;
    const DefinitionEntry& definition;
    std::set<std::size_t> aliasTokens;  // names and values of parameters that stand for it
    std::set<std::string> watched;      // last components that may name it
};

bool IsSymbol(const DescriptionToken& token, const char* text)
{
    return token.kind == TokenKind::Symbol && token.text == text;
}

bool IsTimedKeyword(const DescriptionToken& token)
{
    return token.kind == TokenKind::General ||
           (token.kind == TokenKind::Name &&
            (token.text == "Immediate" || token.text == "Deterministic" ||
             token.text == "Uniform"));
}

const PageParameter* RateOnlyCheck::ParameterOf(std::size_t page, const std::string& fullName) const
{
    for (const PageParameter& parameter : layout.pages[page].parameters)
        if (parameter.fullName == fullName) return &parameter;
    return nullptr;
}

std::size_t RateOnlyCheck::PageNamed(const std::string& name) const
{
    for (std::size_t i = 0; i < layout.pages.size(); ++i)
        if (layout.pages[i].name == name) return i;
    return kNone;
}

// A parameter's value is the definition's when it is the definition's
// absolute name, or a plain name that leads to it.
bool RateOnlyCheck::Follows(const PageParameter& parameter, std::size_t page, int depth) const
{
    if (parameter.valueLast != parameter.valueFirst + 1 || depth > kDeepestLookup) return false;
    const DescriptionToken& value = tokens[parameter.valueFirst];
    if (value.kind != TokenKind::Name) return false;
    if (value.text.front() == '\\') return FullNameOn("", value.text) == definition.FullName();
    if (value.text.find_first_of("\\'") != std::string::npos) return false;
    return TextNamesDefinition(FullNameOn(parameter.masterPage, value.text), page, depth + 1);
}

bool RateOnlyCheck::TextNamesDefinition(const std::string& fullName, std::size_t page,
                                        int depth) const
{
    if (const PageParameter* parameter = ParameterOf(page, fullName))
        return Follows(*parameter, page, depth);
    for (const std::string& master : layout.pages[page].masters) {
        const std::size_t masterPage = PageNamed(master);
        if (masterPage == kNone) continue;
        if (const PageParameter* parameter = ParameterOf(masterPage, fullName))
            return Follows(*parameter, masterPage, depth);
    }
    return fullName == definition.FullName();
}

bool RateOnlyCheck::NameOnPageIsDefinition(const std::string& fullName, std::size_t page) const
{
    if (const PageParameter* parameter = ParameterOf(page, fullName))
        return Follows(*parameter, page, 0);
    return fullName == definition.FullName();
}

// "Exponential ( NAME )" around token i.
bool RateOnlyCheck::IsExponentialDelay(std::size_t i) const
{
    return i >= 2 && i + 1 < tokens.size() && tokens[i - 2].text == "Exponential" &&
           IsSymbol(tokens[i - 1], "(") && IsSymbol(tokens[i + 1], ")");
}

bool RateOnlyCheck::Accounted(std::size_t i, std::vector<DelayTarget>& targets) const
{
    if (aliasTokens.count(i) != 0) return true;
    const std::size_t page = layout.page[i];
    const std::size_t transition = layout.transition[i];
    if (layout.section[i] != Section::Transition || page == kNone || transition == kNone ||
        layout.pages[page].name == kRoot || !IsExponentialDelay(i))
        return false;
    const std::string& text = tokens[i].text;
    if (text.front() != '\\' && text.find_first_of("\\'") != std::string::npos) return false;
    const PageBlock& block = layout.pages[page];
    if (!NameOnPageIsDefinition(FullNameOn(block.name, text), page)) return false;
    const TransitionSpan& span = layout.transitions[transition];
    if (span.infiniteServer || span.subTransition || span.bindings != 1 ||
        span.name.find_first_of("\\'") != std::string::npos)
        return false;
    targets.push_back({block.name.substr(kRoot.size() + 1), span.name});
    return true;
}

std::optional<std::vector<DelayTarget>> RateOnlyCheck::Run()
{
    if (definition.valueLast != definition.valueFirst + 1 ||
        tokens[definition.valueFirst].kind != TokenKind::Number)
        return std::nullopt;
    for (const DescriptionToken& token : tokens)
        if (IsTimedKeyword(token)) return std::nullopt;
    watched.insert(LastNameComponent(definition.name));
    for (std::size_t page = 0; page < layout.pages.size(); ++page)
        for (const PageParameter& parameter : layout.pages[page].parameters)
            if (Follows(parameter, page, 0)) {
                aliasTokens.insert(parameter.nameToken);
                aliasTokens.insert(parameter.valueFirst);
                watched.insert(LastNameComponent(parameter.fullName));
            }
    std::vector<DelayTarget> targets;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (i == definition.nameToken || tokens[i].kind != TokenKind::Name ||
            watched.count(LastNameComponent(tokens[i].text)) == 0)
            continue;
        if (!Accounted(i, targets)) return std::nullopt;
    }
    return targets;
}

}  // namespace

std::optional<std::vector<DelayTarget>> RateOnlyUses(const std::vector<DescriptionToken>& tokens,
                                                     const DescriptionLayout& layout,
                                                     const DefinitionEntry& definition)
{
    return RateOnlyCheck(tokens, layout, definition).Run();
}
