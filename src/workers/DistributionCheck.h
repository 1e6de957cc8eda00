// Accepts a parsed distribution as the firing-time distribution of a
// transition only when it is one: no negative point masses, a density that is
// nowhere negative, and a total mass of 1 within kMassTolerance. The accepted
// distribution is scaled to a mass of exactly 1.
#pragma once

#include <string>

#include "workers/Distribution.h"

constexpr double kMassTolerance = 1e-6;

bool CheckDistribution(Distribution& distribution, std::string& error);

// ParseDistribution followed by CheckDistribution.
bool LoadDistribution(const std::string& text, Distribution& distribution, std::string& error);
