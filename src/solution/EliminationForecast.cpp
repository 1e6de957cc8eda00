// AMD orders the symmetric pattern A + A^T, forms that sum itself, and
// reports the nonzeros of the Cholesky factor and the multiply-adds of an LU
// factorisation without pivoting in its order. The row of the normalisation,
// which the elimination fills with ones, is moved to the end: as the last row
// it is reduced by all others and adds nothing to U.
#include "solution/EliminationForecast.h"

#include <suitesparse/amd.h>

#include <algorithm>
#include <new>

EliminationForecast forecast_elimination(int n, const int* ia, const int* ja, int last)
{
    EliminationForecast forecast;
    std::vector<int> starts, columns, permutation;
    try {
        starts.resize(n + 1);
        columns.resize(ia[n] - 1);
        permutation.resize(n);
        forecast.order.resize(n + 1);
    } catch (const std::bad_alloc&) {
        return EliminationForecast();
    }
    for (int i = 0; i <= n; ++i) starts[i] = ia[i] - 1;
    for (int e = 1; e < ia[n]; ++e) columns[e - 1] = ja[e] - 1;

    double control[AMD_CONTROL], info[AMD_INFO];
    amd_defaults(control);
    int status = amd_order(n, starts.data(), columns.data(), permutation.data(), control, info);
    if (status != AMD_OK && status != AMD_OK_BUT_JUMBLED) return EliminationForecast();

    int position = 0;
    for (int row : permutation)
        if (row + 1 != last) forecast.order[++position] = row + 1;
    forecast.order[n] = last;
    forecast.u_entries = info[AMD_LNZ];
    forecast.work = info[AMD_NMULTSUBS_LU];
    forecast.ordered = true;
    return forecast;
}
