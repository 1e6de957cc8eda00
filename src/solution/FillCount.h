// The symbolic count of an elimination before it runs: the nonzeros and the
// work of the Cholesky factor of a symmetric pattern in a given order, from
// its elimination tree and column counts (Gilbert, Ng and Peyton's
// algorithm, in time nearly linear in the pattern, not in the fill). For A
// with pivots on the diagonal the factor of A + A^T bounds U row by row.
#pragma once

#include "solution/SymmetricPattern.h"

#include <vector>

struct FillCount {
    double u_entries = 0.0;   // off-diagonal entries of the factor
    double work = 0.0;        // multiply-adds of an LU factorisation of that pattern
    std::vector<int> length;  // off-diagonal entries of row s of U (s = 0..size-1)
    bool counted = false;     // false when memory ran out
};

// The counts when vertex order[s] is eliminated at step s.
FillCount count_fill(const SymmetricPattern& pattern, const std::vector<int>& order);
