// Sparse elimination row by row (after ACM TOMS Algorithm 533, NSPIV): each
// row of A, in the given order, is reduced by the rows of U computed before
// it, the largest remaining entry becomes its pivot, and the rest, divided by
// the pivot, becomes the next row of U. Entries of U below the drop
// tolerance are dropped.
//
// Rows go through in groups of consecutive steps (RowPanel): the group is
// reduced by the earlier rows of U together, each row of U read once for the
// whole group, and then its rows are pivoted and stored one after the other,
// each reducing the group's later rows. Every entry sees the same rows of U
// in the same order as row by row, so pivots, U and its counts are those of
// the row-by-row scheme.
#include "solution/Nspiv.h"

#include "solution/DenseRow.h"
#include "solution/RowPanel.h"
#include "solution/UpperFactor.h"

#include <unistd.h>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

std::size_t direct_storage_limit = 0;

namespace {

constexpr std::size_t kEntryBytes = sizeof(int) + sizeof(double);
// A last row longer than this is not put in a group, whose values would
// take sixteen times its length.
constexpr int kDenseRowLength = 1 << 16;

}  // namespace

long direct_storage_entries()
{
    std::size_t bytes = direct_storage_limit;
    if (bytes == 0) {
        long pages = sysconf(_SC_PHYS_PAGES);
        long page_size = sysconf(_SC_PAGESIZE);
        bytes = (pages > 0 && page_size > 0)
                    ? static_cast<std::size_t>(pages) * static_cast<std::size_t>(page_size) / 16
                    : std::size_t(1) << 30;
    }
    return static_cast<long>(std::min<std::size_t>(bytes / kEntryBytes, INT_MAX - 2));
}

namespace {

// Memory runs out long before the elimination would: once a hundredth of the
// rows is done, the rest are projected at the mean length so far, and a U
// that would outgrow the limit counts as exhausted at once instead of after
// most of the work.
bool projected_beyond(long used, int s, int n, long limit)
{
    if (100L * s < n) return false;
    return used + static_cast<double>(n - s) * used / s > limit;
}

void report_singularity(int s, int i)
{
    std::printf("Singularity of Matrix detected in row k = %d (r[k]=%d)\n", s, i);
}

// Row i as the last step n, held densely: 0, or the failure code of step n.
// Of the columns, only c[n] is not pivoted on yet.
int eliminate_last_row(int n, const int* ia, const int* ja, const double* a, int i, double rhs,
                       const int* c, double* y, UpperFactor& U, double droptol, int& dropped)
{
    if (ia[i - 1] == ia[i]) return -n;
    DenseRow row(n);
    if (!row.Load(ia, ja, a, i, rhs)) return -2 * n;
    row.ReduceBy(U, n - 1, c, y);
    int pivot = c[n];
    if (!row.Holds(pivot)) return -3 * n;
    double reciprocal = 1.0;
    if (row.Value(pivot) == 0.0)
        report_singularity(n, i);
    else
        reciprocal = 1.0 / row.Value(pivot);
    y[n] = row.RightHandSide() * reciprocal;
    std::vector<int> none;
    if (!U.Store(n, pivot, none, [](int) { return 0.0; }, reciprocal, droptol, dropped))
        return -4 * n;
    return 0;
}

// The elimination of dnspiv1_mod; throws std::bad_alloc when its own
// bookkeeping finds no memory.
void eliminate_rows(int n, const int* ia, const int* ja, const double* a, int k, long storage,
                    const int* r, int* c, int* ic, double* x, double* y, int* iu, int* p,
                    int** ju, double** u, double droptol, int* num_drop, int* code)
{
    long limit = direct_storage_entries();
    UpperFactor U(n, iu, ju, u, storage, limit);
    RowPanel panel(n, c, ic, p);
    *num_drop = 0;
    std::fill(x, x + n + 1, 0.0);

    // A long last row is eliminated on its own, densely.
    int i_last = n >= 1 ? r[n] : 0;
    int grouped = n >= 1 && ia[i_last] - ia[i_last - 1] > kDenseRowLength ? n - 1 : n;
    for (int first = 1; first <= grouped; first += RowPanel::kRows) {
        int rows = std::min(RowPanel::kRows, grouped - first + 1);
        // A row that cannot be loaded ends the group; the rows before it are
        // eliminated first, since their failures come first.
        int loaded = 0, load_failure = 0;
        panel.Start(first);
        for (; loaded < rows; ++loaded) {
            int s = first + loaded, i = r[s];
            if (ia[i - 1] == ia[i]) {
                load_failure = -s;
                break;
            }
            if (!panel.Load(loaded, ia, ja, a, i, i == k ? 1.0 : 0.0)) {
                load_failure = -(n + s);
                break;
            }
        }
        panel.ReduceByEarlier(U, y);
        for (int row = 0; row < loaded; ++row) {
            int s = first + row;
            int pivot = panel.Pivot(row);
            if (pivot == 0) {
                *code = -(2 * n + s);
                return;
            }
            double reciprocal = 1.0;
            if (panel.Value(row, pivot) == 0.0)
                report_singularity(s, r[s]);
            else
                reciprocal = 1.0 / panel.Value(row, pivot);
            panel.Exchange(s, pivot);
            y[s] = panel.RightHandSide(row) * reciprocal;
            if (!panel.Store(row, pivot, reciprocal, droptol, *num_drop, U) ||
                projected_beyond(U.Entries(), s, n, limit)) {
                *code = -(3 * n + s);
                return;
            }
            panel.ReduceByStored(row, s, U, y);
        }
        if (load_failure != 0) {
            *code = load_failure;
            return;
        }
    }
    if (grouped < n) {
        *code = eliminate_last_row(n, ia, ja, a, i_last, i_last == k ? 1.0 : 0.0, c, y, U, droptol,
                                   *num_drop);
        if (*code != 0) return;
    }
    U.Substitute(n, c, ic, y, x);
    *code = static_cast<int>(std::max(1L, U.Entries()));
}

}  // namespace

void dnspiv1_mod(int n, const int* ia, const int* ja, const double* a, int k, long storage,
                 const int* r, int* c, int* ic, double* x, double* y, int* iu, int* p, int** ju,
                 double** u, double droptol, int* num_drop, int* code)
{
    try {
        eliminate_rows(n, ia, ja, a, k, storage, r, c, ic, x, y, iu, p, ju, u, droptol, num_drop,
                       code);
    } catch (const std::bad_alloc&) {
        *code = -(3 * n + 1);
    }
}
