// Two fill-reducing orderings of a symmetric pattern from the libraries of
// the field: approximate minimum degree (SuiteSparse AMD), fast on chains
// with little fill but slow where the fill is vast, and nested dissection
// (METIS), whose time grows with the pattern alone and whose orders keep the
// fill of the larger nets' chains a half to a third of AMD's.
#pragma once

#include "solution/SymmetricPattern.h"

#include <vector>

// order[s] is the vertex eliminated at step s; empty when the library failed
// (memory ran out).
std::vector<int> minimum_degree_order(const SymmetricPattern& pattern);
// Nested dissection with METIS's random choices started from `seed`.
std::vector<int> nested_dissection_order(const SymmetricPattern& pattern, int seed);
