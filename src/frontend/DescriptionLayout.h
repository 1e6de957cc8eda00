// Where each token of a description stands: its section, the page of its
// block, and for the transition section the transition it belongs to. Also
// the page parameters and the page hierarchy (which page refines a
// sub-transition of which). Built from the tokens alone, for mosk-solve's
// own analyses of a description that mosk will check in full.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "frontend/DescriptionTokens.h"

enum class Section { Definition, Parameter, PageHeader, Places, Transition, Evaluate };

struct PageParameter {
    std::string fullName;    // "\__ROOT__\Srv\meanservice"
    std::string masterPage;  // where a plain name in its value is looked up
    std::size_t nameToken = 0;
    std::size_t valueFirst = 0;  // tokens [valueFirst, valueLast)
    std::size_t valueLast = 0;
};

struct PageBlock {
    std::string name;  // full name: "\__ROOT__" or "\__ROOT__\Srv"
    std::vector<PageParameter> parameters;
    std::vector<std::string> masters;  // pages with a sub-transition refined by this one
};

struct TransitionSpan {
    std::string name;  // as written
    std::size_t page = 0;
    bool infiniteServer = false;
    bool subTransition = false;
    int bindings = 0;
};

struct DescriptionLayout {
    std::vector<Section> section;         // per token
    std::vector<std::size_t> page;        // per token: index into pages (npos before any page)
    std::vector<std::size_t> transition;  // per token: index into transitions, or npos
    std::vector<PageBlock> pages;
    std::vector<TransitionSpan> transitions;

    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
};

DescriptionLayout LayOutDescription(const std::vector<DescriptionToken>& tokens);

// "\__ROOT__" + an absolute name, or `page` + "\" + a plain one.
std::string FullNameOn(const std::string& page, const std::string& name);

// The path of a full name without its last component ("\__ROOT__" for a name
// directly below the root).
std::string ParentPath(const std::string& fullName);
