// A "|" inside parentheses or brackets belongs to a condition; outside them
// it ends a measure's definition.
#include "frontend/MeasureNames.h"

namespace {

const std::string kRoot = "\\__ROOT__";

bool Opens(const DescriptionToken& token)
{
    return token.kind == TokenKind::Symbol &&
           (token.text == "(" || token.text == "[" || token.text.back() == '[');
}

bool Closes(const DescriptionToken& token)
{
    return token.kind == TokenKind::Symbol && (token.text == ")" || token.text == "]");
}

}  // namespace

std::vector<std::string> MeasureNames(const std::vector<DescriptionToken>& tokens,
                                      const DescriptionLayout& layout)
{
    std::vector<std::string> names;
    int depth = 0;
    bool atStart = false;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (layout.section[i] != Section::Evaluate) {
            atStart = true;
            depth = 0;
            continue;
        }
        const DescriptionToken& token = tokens[i];
        if (token.kind == TokenKind::Symbol && token.text == ":" && i > 0 &&
            tokens[i - 1].text == "Evaluate") {
            atStart = true;
            continue;
        }
        if (Opens(token)) ++depth;
        if (Closes(token) && depth > 0) --depth;
        if (depth == 0 && token.kind == TokenKind::Symbol && token.text == "|") {
            atStart = true;
            continue;
        }
        if (!atStart || token.text == "Evaluate") continue;
        atStart = false;
        if (token.kind != TokenKind::Name || i + 1 >= tokens.size() || tokens[i + 1].text != "=")
            continue;
        const std::string page =
            layout.page[i] == DescriptionLayout::kNone ? kRoot : layout.pages[layout.page[i]].name;
        std::string full = FullNameOn(page, token.text);
        names.push_back(full.size() > kRoot.size() + 1 ? full.substr(kRoot.size() + 1) : full);
    }
    return names;
}
