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

namespace {

// SUB/T for a transition on page \SUB. A transition written with a name of
// its own from the root keeps that name, which need not lie on its page: its
// SUB is then the path in its name, and one named on the root has none.
std::string SweepName(const std::string& page, const std::string& fullName)
{
    const bool onPage = fullName.size() > page.size() &&
                        fullName.compare(0, page.size(), page) == 0 && fullName[page.size()] == '\\';
    const std::size_t cut = onPage ? page.size() : fullName.rfind('\\');
    if (cut == std::string::npos || cut == 0) return "";
    return fullName.substr(1, cut - 1) + "/" + fullName.substr(cut + 1);
}

}  // namespace

std::vector<std::string> SweepableTransitions(const DescriptionOutline& outline)
{
    std::vector<std::string> names;
    for (const OutlinePage& page : outline.pages) {
        if (page.name == "\\") continue;
        for (const OutlineTransition& transition : page.transitions)
            if (transition.subPage.empty() && !transition.infiniteServer &&
                !transition.bindings.empty() && transition.bindings.front().delay != "Immediate")
                if (const std::string name = SweepName(page.name, transition.fullName);
                    !name.empty())
                    names.push_back(name);
    }
    return names;
}
