// The section order of the language: "Definition :", then blocks of
// "Parameter :" definitions, "Page : NAME", the place sections,
// "Transition :" and "Evaluate :". A transition is a name followed by its
// server type and guard and its bindings in "[ ... ]"; a sub-transition's
// brackets start with "subpage NAME".
#include "frontend/DescriptionLayout.h"

namespace {

constexpr std::size_t kNone = DescriptionLayout::kNone;

bool Is(const DescriptionToken& token, const char* text)
{
    return token.text == text && token.kind != TokenKind::Number;
}

class LayoutBuilder {
public:
    explicit LayoutBuilder(const std::vector<DescriptionToken>& tokens) : tokens(tokens) {}

    DescriptionLayout Build();

private:
    void Step(std::size_t i);
    void StepParameter(std::size_t i);
    void StepTransition(std::size_t i);
    void EndParameter(std::size_t end);

    const std::vector<DescriptionToken>& tokens;
    DescriptionLayout layout;
    Section section = Section::Definition;
    std::vector<PageParameter> pending;  // parameters of the block being read
    std::size_t parameterStart = kNone;
    int depth = 0;                // of "(" and "[" inside a parameter or transition
    std::size_t current = kNone;  // the transition being read
    bool inBindings = false;
    std::vector<std::pair<std::string, std::string>> subPageMasters;  // (sub-page, master)
};

void LayoutBuilder::EndParameter(std::size_t end)
{
    if (parameterStart == kNone || end < parameterStart + 3) {
        parameterStart = kNone;
        return;
    }
    const DescriptionToken& name = tokens[parameterStart];
    if (name.kind == TokenKind::Name && name.text.size() > 1 && name.text[0] == '\\' &&
        Is(tokens[parameterStart + 1], "=")) {
        PageParameter parameter;
        parameter.fullName = FullNameOn("", name.text);
        const std::string path = ParentPath(parameter.fullName);
        parameter.masterPage = path == "\\__ROOT__" ? path : ParentPath(path);
        parameter.nameToken = parameterStart;
        parameter.valueFirst = parameterStart + 2;
        parameter.valueLast = end;
        pending.push_back(parameter);
    }
    parameterStart = kNone;
}

void LayoutBuilder::StepParameter(std::size_t i)
{
    if (Is(tokens[i], "(")) ++depth;
    if (Is(tokens[i], ")") && depth > 0) --depth;
    if (depth == 0 && Is(tokens[i], "|")) {
        EndParameter(i);
        return;
    }
    if (parameterStart == kNone && !Is(tokens[i], ":")) parameterStart = i;
}

void LayoutBuilder::StepTransition(std::size_t i)
{
    const DescriptionToken& token = tokens[i];
    if (current == kNone) {
        if (token.kind != TokenKind::Name) return;
        current = layout.transitions.size();
        layout.transitions.push_back({token.text, layout.pages.size() - 1});
        depth = 0;
        inBindings = false;
    }
    layout.transition[i] = current;
    TransitionSpan& transition = layout.transitions[current];
    if (Is(token, "(") || Is(token, "[")) {
        if (depth == 0 && Is(token, "[")) {
            inBindings = true;
            transition.bindings = 1;
            transition.subTransition = i + 1 < tokens.size() && Is(tokens[i + 1], "subpage");
            if (transition.subTransition && i + 2 < tokens.size() &&
                tokens[i + 2].kind == TokenKind::Name) {
                subPageMasters.push_back(
                    {FullNameOn("", tokens[i + 2].text), layout.pages.back().name});
            }
        }
        ++depth;
    } else if (Is(token, ")") || Is(token, "]")) {
        if (depth > 0) --depth;
        if (depth == 0 && inBindings) current = kNone;
    } else if (depth == 0 && Is(token, "IS")) {
        transition.infiniteServer = true;
    } else if (depth == 1 && inBindings && Is(token, "|")) {
        ++transition.bindings;
    }
}

void LayoutBuilder::Step(std::size_t i)
{
    const DescriptionToken& token = tokens[i];
    const bool keyword = token.kind == TokenKind::Name && i + 1 < tokens.size() &&
                         Is(tokens[i + 1], ":") && depth == 0;
    if (keyword && Is(token, "Parameter")) {
        section = Section::Parameter;
        pending.clear();
        parameterStart = kNone;
    } else if (keyword && Is(token, "Page")) {
        if (section == Section::Parameter) EndParameter(i);
        section = Section::PageHeader;
        if (i + 2 < tokens.size()) {
            const std::string& name = tokens[i + 2].text;
            layout.pages.push_back(
                {name == "\\" ? "\\__ROOT__" : FullNameOn("", name), pending, {}});
        }
    } else if (keyword && (Is(token, "ElementaryPlace") || Is(token, "ProductPlace"))) {
        section = Section::Places;
    } else if (keyword && Is(token, "Transition")) {
        section = Section::Transition;
        current = kNone;
    } else if (keyword && Is(token, "Evaluate")) {
        section = Section::Evaluate;
        current = kNone;
    } else if (section == Section::Parameter) {
        StepParameter(i);
    } else if (section == Section::Transition && !layout.pages.empty()) {
        StepTransition(i);
    }
    layout.section[i] = section;
    layout.page[i] = layout.pages.empty() ? kNone : layout.pages.size() - 1;
}

DescriptionLayout LayoutBuilder::Build()
{
    layout.section.assign(tokens.size(), Section::Definition);
    layout.page.assign(tokens.size(), kNone);
    layout.transition.assign(tokens.size(), kNone);
    for (std::size_t i = 0; i < tokens.size(); ++i) Step(i);
    for (const auto& [subPage, master] : subPageMasters)
        for (PageBlock& page : layout.pages)
            if (page.name == subPage) page.masters.push_back(master);
    return layout;
}

}  // namespace

std::string FullNameOn(const std::string& page, const std::string& name)
{
    if (!name.empty() && name.front() == '\\') return "\\__ROOT__" + name;
    return page + "\\" + name;
}

std::string ParentPath(const std::string& fullName)
{
    const std::size_t cut = fullName.rfind('\\');
    return cut == std::string::npos || cut == 0 ? "\\" : fullName.substr(0, cut);
}

DescriptionLayout LayOutDescription(const std::vector<DescriptionToken>& tokens)
{
    return LayoutBuilder(tokens).Build();
}
