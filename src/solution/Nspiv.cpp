// Sparse elimination row by row (after ACM TOMS Algorithm 533, NSPIV): each
// row of A, in the given order, is reduced by the rows of U computed before
// it, the largest remaining entry becomes its pivot, and the rest, divided by
// the pivot, becomes the next row of U. The columns of a row that are already
// pivoted are taken in pivot order from a min-heap; the others only compete
// for the pivot, ties going to the earliest column position as in the
// original ordered list. Entries of U below the drop tolerance are dropped.
//
// Rows of U are stored in supernodes: a row whose columns are those of the
// row before but for its own pivot column shares that row's list of columns,
// the pivot columns of the supernode first. Reducing by a run of such rows
// gathers the shared columns once into a dense vector and updates it row by
// row: the same arithmetic in the same order as entry by entry, at the speed
// of dense code where nested dissection leaves the fill in dense blocks.
#include "solution/Nspiv.h"

#include <unistd.h>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <vector>

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

// Grows a 1-based array of `capacity` + 1 elements to hold `needed`,
// doubling, within the limit.
template <class T>
bool grow(T** array, long& capacity, long needed, long limit)
{
    if (needed <= capacity) return true;
    if (needed > limit) return false;
    long wanted = std::min(limit, std::max(needed, 2 * capacity));
    T* grown = static_cast<T*>(std::realloc(*array, static_cast<std::size_t>(wanted + 1) * sizeof(T)));
    if (!grown) return false;
    *array = grown;
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

void report_singularity(int s, int i)
{
    std::printf("Singularity of Matrix detected in row k = %d (r[k]=%d)\n", s, i);
}

// w[from..to) += factor * u[0..to-from)
void add_multiple(double* w, int from, int to, double factor, const double* u)
{
    for (int t = from; t < to; ++t) w[t] += factor * u[t - from];
}

// One elimination's state. Arrays passed in are 1-based as the caller's;
// row j of U holds its values at u[iu[j] .. iu[j+1]-1] and its columns at
// ju[list[j] ..], in step with the values.
class RowElimination {
public:
    RowElimination(int n, int* c, int* ic, double* x, int* p, int* iu, int** ju, double** u,
                   long storage, long limit)
        : n_(n),
          c_(c),
          ic_(ic),
          x_(x),
          stamp_(p),
          pivoted_(p + (n + 1)),
          unpivoted_(p + 2 * (n + 1)),
          iu_(iu),
          ju_(ju),
          u_(u),
          list_(n + 2),
          first_(n + 2),
          last_(n + 2),
          listed_by_(n + 1, 0),
          gathered_(n + 1),
          value_capacity_(std::min(storage, limit)),
          column_capacity_(std::min(storage, limit)),
          limit_(limit)
    {
        std::fill(x, x + n + 1, 0.0);
        std::fill(stamp_, stamp_ + n + 1, 0);
        iu_[1] = 1;
    }

    long Used() const { return used_; }

    // Loads row i of A for step s; false on a duplicate column.
    bool Load(int s, int i, const int* ia, const int* ja, const double* a)
    {
        s_ = s;
        heap_size_ = 0;
        competing_ = 0;
        done_until_ = 0;
        for (int e = ia[i - 1]; e < ia[i]; ++e) {
            int column = ja[e];
            if (stamp_[column] == s) return false;
            stamp_[column] = s;
            Enter(column);
            x_[column] = a[e];
        }
        return true;
    }

    // Reduces the loaded row by the rows of U in ascending pivot order.
    void Eliminate(const double* y, double& rhs)
    {
        std::greater<int> earlier_first;
        while (heap_size_ > 0) {
            std::pop_heap(pivoted_, pivoted_ + heap_size_, earlier_first);
            int j = pivoted_[--heap_size_];
            if (j <= done_until_) continue;
            int last = last_[first_[j]];
            if (last == j)
                EliminateRow(j, y, rhs);
            else
                EliminateRun(j, last, y, rhs);
        }
    }

    int Competing() const { return competing_; }

    // The remaining column of largest magnitude, the earliest of equal ones.
    int Pivot() const
    {
        int pivot = unpivoted_[0];
        double largest = std::fabs(x_[pivot]);
        for (int t = 1; t < competing_; ++t) {
            int column = unpivoted_[t];
            double magnitude = std::fabs(x_[column]);
            if (magnitude > largest || (magnitude == largest && ic_[column] < ic_[pivot])) {
                pivot = column;
                largest = magnitude;
            }
        }
        return pivot;
    }

    // Puts column `pivot` at position s; the column there takes its place.
    void Exchange(int pivot)
    {
        int displaced = c_[s_];
        c_[ic_[pivot]] = displaced;
        ic_[displaced] = ic_[pivot];
        c_[s_] = pivot;
        ic_[pivot] = s_;
    }

    // Makes the remaining entries but the pivot, scaled, row s of U; entries
    // below the tolerance are dropped. False when the storage is exhausted.
    bool Store(int pivot, double reciprocal, double droptol, int& dropped)
    {
        x_[pivot] = 0.0;
        long length = competing_ - 1;
        if (!grow(u_, value_capacity_, used_ + length, limit_) ||
            !grow(ju_, column_capacity_, columns_ + length, limit_))
            return false;
        if (Continues(pivot, reciprocal, droptol))
            StoreInRun(reciprocal);
        else
            StoreAlone(pivot, reciprocal, droptol, dropped);
        iu_[s_ + 1] = static_cast<int>(used_) + 1;
        return true;
    }

    // x = the solution of U x = y, through the column order.
    void Substitute(double* y) const
    {
        const int* ju = *ju_;
        const double* u = *u_;
        for (int s = n_; s >= 1; --s) {
            double value = y[s];
            const int* columns = ju + list_[s];
            for (int e = iu_[s]; e < iu_[s + 1]; ++e)
                value -= u[e] * y[ic_[columns[e - iu_[s]]]];
            y[s] = value;
            x_[c_[s]] = value;
        }
    }

private:
    void Enter(int column)
    {
        if (ic_[column] < s_) {
            pivoted_[heap_size_++] = ic_[column];
            std::push_heap(pivoted_, pivoted_ + heap_size_, std::greater<int>());
        } else {
            unpivoted_[competing_++] = column;
        }
    }

    void EliminateRow(int j, const double* y, double& rhs)
    {
        const int* columns = *ju_ + list_[j];
        const double* u = *u_;
        double factor = -x_[c_[j]];
        x_[c_[j]] = 0.0;
        rhs += factor * y[j];
        for (int e = iu_[j]; e < iu_[j + 1]; ++e) {
            int column = columns[e - iu_[j]];
            if (stamp_[column] != s_) {
                stamp_[column] = s_;
                Enter(column);
            }
            x_[column] += factor * u[e];
        }
    }

    // Rows j..last of one supernode: row j's columns are those of the run,
    // the pivot columns of rows j+1..last first; each later row starts one
    // column further on.
    void EliminateRun(int j, int last, const double* y, double& rhs)
    {
        const int* columns = *ju_ + list_[j];
        const double* u = *u_;
        int width = iu_[j + 1] - iu_[j];
        double* w = gathered_.data();
        for (int t = 0; t < width; ++t) w[t] = x_[columns[t]];
        double factor = -x_[c_[j]];
        x_[c_[j]] = 0.0;
        rhs += factor * y[j];
        add_multiple(w, 0, width, factor, u + iu_[j]);
        for (int row = j + 1; row <= last; ++row) {
            int at = row - j - 1;  // the pivot column of `row`
            factor = -w[at];
            w[at] = 0.0;
            rhs += factor * y[row];
            add_multiple(w, at + 1, width, factor, u + iu_[row]);
        }
        int run_pivots = last - j;
        for (int t = 0; t < width; ++t) {
            int column = columns[t];
            x_[column] = w[t];
            if (stamp_[column] == s_) continue;
            stamp_[column] = s_;
            if (t >= run_pivots) Enter(column);
        }
        done_until_ = last;
    }

    // Whether row s continues the supernode of row s - 1: its columns, none
    // dropped, are those of row s - 1 but for its pivot column.
    bool Continues(int pivot, double reciprocal, double droptol) const
    {
        int before = s_ - 1;
        if (before < 1 || listed_by_[pivot] != before) return false;
        if (competing_ != iu_[s_] - iu_[before]) return false;
        for (int t = 0; t < competing_; ++t) {
            int column = unpivoted_[t];
            if (column == pivot) continue;
            if (listed_by_[column] != before) return false;
            if (std::fabs(x_[column] * reciprocal) < droptol) return false;
        }
        return true;
    }

    // Row s joins the supernode: its pivot column moves to the front of
    // row s - 1's columns (in all rows of the run, with their values), and
    // row s takes the columns after it.
    void StoreInRun(double reciprocal)
    {
        int before = s_ - 1;
        int first = first_[before];
        int* columns = *ju_ + list_[before];
        double* u = *u_;
        int width = iu_[s_] - iu_[before];
        int at = static_cast<int>(std::find(columns, columns + width, c_[s_]) - columns);
        if (at != 0) {
            std::swap(columns[0], columns[at]);
            // Row `row` of the run starts (before - row) columns earlier.
            for (int row = first; row <= before; ++row) {
                int offset = iu_[row] + (before - row);
                std::swap(u[offset], u[offset + at]);
            }
        }
        list_[s_] = list_[before] + 1;
        first_[s_] = first;
        last_[first] = s_;
        for (int t = 1; t < width; ++t) {
            int column = columns[t];
            u[++used_] = x_[column] * reciprocal;
            x_[column] = 0.0;
            listed_by_[column] = s_;
        }
    }

    void StoreAlone(int pivot, double reciprocal, double droptol, int& dropped)
    {
        int* ju = *ju_;
        double* u = *u_;
        list_[s_] = static_cast<int>(columns_) + 1;
        first_[s_] = last_[s_] = s_;
        for (int t = 0; t < competing_; ++t) {
            int column = unpivoted_[t];
            if (column == pivot) continue;
            double value = x_[column] * reciprocal;
            x_[column] = 0.0;
            if (std::fabs(value) < droptol) {
                ++dropped;
                continue;
            }
            ju[++columns_] = column;
            u[++used_] = value;
            listed_by_[column] = s_;
        }
    }

    int n_;
    int* c_;
    int* ic_;
    double* x_;
    int* stamp_;      // stamp[col] == s: column present in the row of step s
    int* pivoted_;    // min-heap of the pivot positions still to eliminate
    int* unpivoted_;  // columns competing for the pivot
    int* iu_;
    int** ju_;
    double** u_;
    std::vector<int> list_;       // row j's first column at (*ju_)[list_[j]]
    std::vector<int> first_;      // the first row of row j's supernode
    std::vector<int> last_;       // for a first row, the last of its supernode
    std::vector<int> listed_by_;  // the last row of U listing a column
    std::vector<double> gathered_;
    long value_capacity_;
    long column_capacity_;
    long limit_;
    long used_ = 0;     // values stored in *u_
    long columns_ = 0;  // columns stored in *ju_
    int s_ = 0;
    int heap_size_ = 0;
    int competing_ = 0;
    int done_until_ = 0;  // rows of a supernode already eliminated in this step
};

// The elimination of dnspiv1_mod; throws std::bad_alloc when its own
// bookkeeping finds no memory.
void eliminate_rows(int n, const int* ia, const int* ja, const double* a, int k, long storage,
                    const int* r, int* c, int* ic, double* x, double* y, int* iu, int* p, int** ju,
                    double** u, double droptol, int* num_drop, int* code)
{
    long limit = direct_storage_entries();
    RowElimination row(n, c, ic, x, p, iu, ju, u, storage, limit);
    *num_drop = 0;

    for (int s = 1; s <= n; ++s) {
        int i = r[s];
        if (ia[i - 1] == ia[i]) {
            *code = -s;
            return;
        }
        if (!row.Load(s, i, ia, ja, a)) {
            *code = -(n + s);
            return;
        }
        double rhs = (i == k) ? 1.0 : 0.0;
        row.Eliminate(y, rhs);
        if (row.Competing() == 0) {
            *code = -(2 * n + s);
            return;
        }
        int pivot = row.Pivot();
        double reciprocal = 1.0;
        if (x[pivot] == 0.0)
            report_singularity(s, i);
        else
            reciprocal = 1.0 / x[pivot];
        row.Exchange(pivot);
        y[s] = rhs * reciprocal;
        if (!row.Store(pivot, reciprocal, droptol, *num_drop) ||
            projected_beyond(row.Used(), s, n, limit)) {
            *code = -(3 * n + s);
            return;
        }
    }
    row.Substitute(y);
    *code = static_cast<int>(std::max(1L, row.Used()));
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
