// The coordinate entries are bucketed by their target state with a counting
// pass and an in-place cycle permutation: every exchange puts one entry into
// the next free slot of its row, so the conversion is linear in the entries
// and needs only the row pointers and one fill pointer per row besides.
// Entries of one row and column are then summed: a marking that reaches one
// successor through edges that are not adjacent in its list has its chain
// row name that successor twice, and the chain's probability is their sum.
#include "solution/RowPointerForm.h"

#include "solution/SolveLGSState.h"
#include "solution/SolverMessages.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

// Reading left up to half the capacity unused; give it back.
template <class T>
void release_slack(T** array, int count)
{
    if (T* shrunk = static_cast<T*>(std::realloc(*array, count * sizeof(T)))) *array = shrunk;
}

// Sums the entries of each row that share a column, keeping the first
// occurrence's place, and closes the gaps. `seen` (n + 1 ints, any content)
// records per column where its entry of the current row went.
void sum_repeated_columns(int n, int* ptr, double* value, int* column, int* seen)
{
    std::fill(seen, seen + n + 1, 0);
    int kept = 0;
    int begin = ptr[0];
    for (int row = 1; row <= n; ++row) {
        int row_start = kept + 1;
        for (int e = begin; e < ptr[row]; ++e) {
            int at = seen[column[e]];
            if (at >= row_start) {
                value[at] += value[e];
                continue;
            }
            ++kept;
            seen[column[e]] = kept;
            value[kept] = value[e];
            column[kept] = column[e];
        }
        begin = ptr[row];
        ptr[row] = kept + 1;
    }
    lgs::nonnull = kept;
}

}  // namespace

void mat2rpfm(double** a, int** ia, int** ja)
{
    int n = lgs::toptan;
    int* target = *ia;
    double* value = *a;
    int* source = *ja;
    int* ptr = static_cast<int*>(std::calloc(n + 1, sizeof(int)));
    int* next_free = static_cast<int*>(std::malloc((n + 1) * sizeof(int)));
    if (!ptr || !next_free) fail_with_perror("\t\t SolveLGS : for matrix description\n\n");

    for (int e = 1; e <= lgs::nonnull; ++e) ++ptr[target[e]];
    ptr[0] = 1;
    for (int i = 1; i <= n; ++i) {
        ptr[i] += ptr[i - 1];
        next_free[i] = ptr[i - 1];
    }

    for (int row = 1; row <= n; ++row) {
        while (next_free[row] < ptr[row]) {
            int here = next_free[row];
            int owner = target[here];
            if (owner == row) {
                ++next_free[row];
                continue;
            }
            int slot = next_free[owner]++;
            if (slot >= ptr[owner])
                fail_on_stdout(
                    "\t\t fatal error occured in deriving row-pointer-format of "
                    "emc-matrix; exiting\n");
            std::swap(target[here], target[slot]);
            std::swap(value[here], value[slot]);
            std::swap(source[here], source[slot]);
        }
    }

    sum_repeated_columns(n, ptr, value, source, next_free);
    std::free(next_free);
    std::free(*ia);
    *ia = ptr;
    release_slack(a, lgs::nonnull + 1);
    release_slack(ja, lgs::nonnull + 1);
}
