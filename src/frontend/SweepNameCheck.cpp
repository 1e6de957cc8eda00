// mosk looks a swept transition up among its single-server timed
// transitions by its full name \SUB\T.
#include "frontend/SweepNameCheck.h"

#include <algorithm>

#include "frontend/NearestNames.h"

std::string UnknownNameError(const std::string& given, const std::vector<std::string>& known,
                             const std::string& what)
{
    for (const std::string& name : known)
        if (name == given) return "";
    const std::vector<std::string> near = NearestNames(given, known);
    if (!near.empty())
        return given + " is not " + what + "; did you mean " + QuotedChoice(near) + "?";
    if (known.empty()) return given + " is not " + what + ": the description has none";
    return given + " is not " + what + " (there are " +
           QuotedChoice(std::vector<std::string>(
               known.begin(), known.begin() + std::min<std::size_t>(known.size(), 5))) +
           (known.size() > 5 ? " and others" : "") + ")";
}

std::vector<std::string> SweepableTransitions(const DescriptionOutline& outline)
{
    std::vector<std::string> names;
    for (const OutlinePage& page : outline.pages) {
        if (page.name == "\\") continue;
        for (const OutlineTransition& transition : page.transitions)
            if (transition.subPage.empty() && !transition.infiniteServer &&
                !transition.bindings.empty() && transition.bindings.front().delay != "Immediate")
                names.push_back(page.name.substr(1) + "/" +
                                transition.fullName.substr(page.name.size() + 1));
    }
    return names;
}
