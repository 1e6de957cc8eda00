// The look before the elimination: a fill-reducing row order for the direct
// solver and what eliminating in it will cost, from the matrix's pattern
// alone. The cost is the symbolic factor of A + A^T in that order, which
// bounds U of an elimination pivoting on the diagonal (the pivot rule picks
// the diagonal nearly always on the chains of nets; on a birth-death chain it
// does not and U comes out twice the forecast, still tiny).
//
// Chains are looked at in growing parts, each four times the last, so that
// one beyond the budgets is refused after a part costing a fraction of a
// second: the fill of any part in any order is part of the fill of the whole.
#pragma once

#include <vector>

struct EliminationBudget {
    double u_entries = 0.0;  // off-diagonal entries of U that fit the storage
    double work = 0.0;       // multiply-adds an answer is worth
};

struct EliminationForecast {
    std::vector<int> order;  // rows 1..n in elimination order (order[0] unused)
    double u_entries = 0.0;  // off-diagonal entries of U with diagonal pivots
    double work = 0.0;       // multiply-adds of the elimination
    int states = 0;          // states counted: fewer than n when a part was beyond the budget
    bool ordered = false;    // false when no ordering could run (no memory)

    bool Within(const EliminationBudget& budget, int n) const
    {
        return states == n && u_entries <= budget.u_entries && work <= budget.work;
    }
};

// The forecast for A in 1-based row-pointer form (row i at positions
// ia[i-1] .. ia[i]-1); `last` is placed at the end of the order. Stops at
// the first part beyond `budget`, whose counts it then returns.
EliminationForecast forecast_elimination(int n, const int* ia, const int* ja, int last,
                                         const EliminationBudget& budget);
