// Sparse elimination row by row (after ACM TOMS Algorithm 533, NSPIV): each
// row of A, in the given order, is reduced by the rows of U computed before
// it, the largest remaining entry becomes its pivot, and the rest, divided by
// the pivot, becomes the next row of U. The columns of a row that are already
// pivoted are taken in pivot order from a min-heap; the others only compete
// for the pivot, ties going to the earliest column position as in the
// original ordered list. Entries of U below the drop tolerance are dropped.
#include "solution/Nspiv.h"

#include <unistd.h>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

std::size_t direct_storage_limit = 0;

namespace {

constexpr std::size_t kEntryBytes = sizeof(int) + sizeof(double);

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

// Doubles the storage of U, at least to `needed`, within the limit.
bool grow_u(int** ju, double** u, long& capacity, long needed, long limit)
{
    if (needed > limit) return false;
    long wanted = std::min(limit, std::max(needed, 2 * capacity));
    int* columns =
        static_cast<int*>(std::realloc(*ju, static_cast<std::size_t>(wanted + 1) * sizeof(int)));
    if (!columns) return false;
    *ju = columns;
    double* values = static_cast<double*>(
        std::realloc(*u, static_cast<std::size_t>(wanted + 1) * sizeof(double)));
    if (!values) return false;
    *u = values;
    capacity = wanted;
    return true;
}

// Memory runs out long before the elimination would: once a hundredth of the
// rows is done, the rest are projected at the mean length so far, and a U
// that would outgrow the limit counts as exhausted at once instead of after
// most of the work.
bool projected_beyond(long used, int s, int n, long limit)
{
    if (100L * s < n) return false;
    return used + static_cast<double>(n - s) * used / s > limit;
}

}  // namespace

void dnspiv1_mod(int n, const int* ia, const int* ja, const double* a, int k, long storage,
                 const int* r, int* c, int* ic, double* x, double* y, int* iu, int* p, int** ju,
                 double** u, double droptol, int* num_drop, int* code)
{
    std::fill(x, x + n + 1, 0.0);
    int* stamp = p;                    // stamp[col] == s: column present in the row of step s
    int* pivoted = p + (n + 1);        // min-heap of the pivot positions still to eliminate
    int* unpivoted = p + 2 * (n + 1);  // columns competing for the pivot
    std::fill(stamp, stamp + n + 1, 0);
    std::greater<int> earlier_first;
    long limit = direct_storage_entries();
    long capacity = std::min(storage, limit);
    long used = 0;
    *num_drop = 0;
    iu[1] = 1;

    for (int s = 1; s <= n; ++s) {
        int i = r[s];
        if (ia[i - 1] == ia[i]) {
            *code = -s;
            return;
        }
        int heap_size = 0;
        int competing = 0;
        auto enter = [&](int column) {
            stamp[column] = s;
            if (ic[column] < s) {
                pivoted[heap_size++] = ic[column];
                std::push_heap(pivoted, pivoted + heap_size, earlier_first);
            } else {
                unpivoted[competing++] = column;
            }
        };
        for (int e = ia[i - 1]; e < ia[i]; ++e) {
            if (stamp[ja[e]] == s) {
                *code = -(n + s);
                return;
            }
            enter(ja[e]);
            x[ja[e]] = a[e];
        }

        double rhs = (i == k) ? 1.0 : 0.0;
        const int* u_columns = *ju;
        const double* u_values = *u;
        while (heap_size > 0) {
            std::pop_heap(pivoted, pivoted + heap_size, earlier_first);
            int j = pivoted[--heap_size];
            double factor = -x[c[j]];
            x[c[j]] = 0.0;
            rhs += factor * y[j];
            for (int e = iu[j]; e < iu[j + 1]; ++e) {
                int column = u_columns[e];
                if (stamp[column] != s) enter(column);
                x[column] += factor * u_values[e];
            }
        }
        if (competing == 0) {
            *code = -(2 * n + s);
            return;
        }

        int pivot = unpivoted[0];
        double largest = std::fabs(x[pivot]);
        for (int t = 1; t < competing; ++t) {
            int column = unpivoted[t];
            double magnitude = std::fabs(x[column]);
            if (magnitude > largest || (magnitude == largest && ic[column] < ic[pivot])) {
                pivot = column;
                largest = magnitude;
            }
        }
        double reciprocal = 1.0;
        if (largest == 0.0)
            std::printf("Singularity of Matrix detected in row k = %d (r[k]=%d)\n", s, i);
        else
            reciprocal = 1.0 / x[pivot];
        int displaced = c[s];
        c[ic[pivot]] = displaced;
        ic[displaced] = ic[pivot];
        c[s] = pivot;
        ic[pivot] = s;
        y[s] = rhs * reciprocal;
        x[pivot] = 0.0;

        if (used + competing - 1 > capacity &&
            !grow_u(ju, u, capacity, used + competing - 1, limit)) {
            *code = -(3 * n + s);
            return;
        }
        int* store_columns = *ju;
        double* store_values = *u;
        for (int t = 0; t < competing; ++t) {
            int column = unpivoted[t];
            if (column == pivot) continue;
            double value = x[column] * reciprocal;
            x[column] = 0.0;
            if (std::fabs(value) < droptol) {
                ++*num_drop;
                continue;
            }
            ++used;
            store_columns[used] = column;
            store_values[used] = value;
        }
        iu[s + 1] = static_cast<int>(used) + 1;
        if (projected_beyond(used, s, n, limit)) {
            *code = -(3 * n + s);
            return;
        }
    }

    const int* u_columns = *ju;
    const double* u_values = *u;
    for (int s = n; s >= 1; --s) {
        double value = y[s];
        for (int e = iu[s]; e < iu[s + 1]; ++e) value -= u_values[e] * y[ic[u_columns[e]]];
        y[s] = value;
        x[c[s]] = value;
    }
    *code = std::max(1, static_cast<int>(used));
}
