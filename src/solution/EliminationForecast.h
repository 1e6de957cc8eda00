// The look before the elimination: a fill-reducing row order for the direct
// solver and what eliminating in it will cost, from the matrix's pattern
// alone (the approximate minimum degree ordering of SuiteSparse AMD on the
// pattern of A + A^T, whose symbolic counts bound the factor of an
// elimination that pivots on the diagonal; on the chains of larger nets the
// pivot rule chooses the diagonal nearly always, on a birth-death chain it
// does not and U comes out twice the forecast).
#pragma once

#include <vector>

struct EliminationForecast {
    std::vector<int> order;  // rows 1..n in elimination order (order[0] unused)
    double u_entries = 0.0;  // off-diagonal entries of U with diagonal pivots
    double work = 0.0;       // multiply-adds of the elimination
    bool ordered = false;    // false when AMD could not run (no memory)
};

// The forecast for A in 1-based row-pointer form (row i at positions
// ia[i-1] .. ia[i]-1); `last` is placed at the end of the order.
EliminationForecast forecast_elimination(int n, const int* ia, const int* ja, int last);
