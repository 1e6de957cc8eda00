// The chain's rows are counted before they are filled, so the form needs no
// growth room and no conversion afterwards: 12 bytes per entry (value and
// column) and one pointer per row.
// Entries of one row and column are summed: a marking that reaches one
// successor through edges that are not adjacent in its list has its chain
// row name that successor twice, and the chain's probability is their sum.
#include "solution/RowPointerForm.h"

#include "solution/SolveLGSState.h"

#include <cstdlib>
#include <vector>

namespace {

// Gives back the unused end of an array that summing has shortened.
template <class T>
void release_slack(T** array, int count)
{
    if (T* shrunk = static_cast<T*>(std::realloc(*array, count * sizeof(T)))) *array = shrunk;
}

}  // namespace

long rows_from_counts(int n, int* ptr)
{
    long next = 1;
    for (int i = 1; i <= n; ++i) {
        long count = ptr[i];
        ptr[i] = static_cast<int>(next);
        next += count;
    }
    ptr[0] = 1;
    return next - 1;
}

void sum_repeated_columns(int n, int* ptr, int** column, double** value)
{
    int* col = *column;
    double* val = *value;
    // Per column, where its entry of the current row went.
    std::vector<int> seen(static_cast<std::size_t>(n) + 1, 0);
    int kept = 0;
    int begin = ptr[0];
    // The columns of a row are states all over the chain: their places in
    // `seen` are fetched a few entries ahead.
    constexpr int kAhead = 16;
    const int end = ptr[n];
    for (int row = 1; row <= n; ++row) {
        int row_start = kept + 1;
        for (int e = begin; e < ptr[row]; ++e) {
            if (e + kAhead < end) __builtin_prefetch(&seen[col[e + kAhead]], 1);
            int at = seen[col[e]];
            if (at >= row_start) {
                val[at] += val[e];
                continue;
            }
            ++kept;
            seen[col[e]] = kept;
            val[kept] = val[e];
            col[kept] = col[e];
        }
        begin = ptr[row];
        ptr[row] = kept + 1;
    }
    if (kept == lgs::nonnull) return;
    lgs::nonnull = kept;
    release_slack(value, kept + 1);
    release_slack(column, kept + 1);
}
