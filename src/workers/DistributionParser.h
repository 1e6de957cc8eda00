// Reads the distribution text of a general transition, as the engine writes
// it into the PMF file: "UNIFORM(a,b)" or an expression over the time
// variable x (numbers, + - *, x^k, e^(...), R[a,b], I[d], parentheses).
// docs/workers.md describes the language.
#pragma once

#include <string>

#include "workers/Distribution.h"

// Parses into the canonical form; the result is not yet checked to be a
// probability distribution (see CheckDistribution). On failure `error` says
// what is wrong and where.
bool ParseDistribution(const std::string& text, Distribution& distribution, std::string& error);
