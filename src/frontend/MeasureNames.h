// The measures a description defines in its Evaluate sections, named as
// mosk-solve prints them: "busy" on the root page, "Srv\busy" on the page
// \Srv. Read before the run, so that options naming measures are checked
// before any work is done.
#pragma once

#include <string>
#include <vector>

#include "frontend/DescriptionLayout.h"

std::vector<std::string> MeasureNames(const std::vector<DescriptionToken>& tokens,
                                      const DescriptionLayout& layout);
