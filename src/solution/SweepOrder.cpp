// Breadth-first search over the rows' columns from state 1, restarted at the
// lowest state not reached while any is left; the visit order reversed.
#include "solution/SweepOrder.h"

#include "solution/SolverAllocation.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

SweepOrder::SweepOrder(int n, const ScaledMatrix& s) : n(n), state(n + 1, 0), position(n + 1, 0)
{
    int found = 0;
    for (int start = 1; start <= n; ++start) {
        if (position[start]) continue;
        position[start] = ++found;
        state[found] = start;
        for (int next = found; next <= found; ++next) {
            int i = state[next];
            for (int e = s.ia[i - 1]; e < s.ia[i]; ++e) {
                int j = s.ja[e];
                if (position[j]) continue;
                position[j] = ++found;
                state[found] = j;
            }
        }
    }
    for (int r = 1; r <= n; ++r) state[r] = 0;
    for (int i = 1; i <= n; ++i) {
        position[i] = n + 1 - position[i];
        state[position[i]] = i;
    }
}

SweepOrder::Shares SweepOrder::UpdatedShares(const ScaledMatrix& s, const double* x) const
{
    double natural = 0.0, reordered = 0.0, total = 0.0;
    for (int i = 1; i <= n; ++i)
        for (int e = s.ia[i - 1]; e < s.ia[i]; ++e) {
            int j = s.ja[e];
            double inflow = std::fabs(s.Value(e) * x[j]);
            total += inflow;
            if (j < i) natural += inflow;
            if (position[j] < position[i]) reordered += inflow;
        }
    if (!(total > 0.0)) return {0.0, 0.0};
    return {natural / total, reordered / total};
}

namespace {

const char* const kFailure = "sor - for Matrix description";

// Each share of the renumbered rows is at most this part of the entries (or
// one row): the buffer costs 6 or 12 / kShares bytes an entry (coded or
// plain values), and each share moves the rows left once more.
constexpr long kShares = 8;

}  // namespace

void SweepOrder::Renumber(ScaledMatrix& s) const
{
    std::vector<int> begin(s.ia, s.ia + n + 1), length(n + 1);
    int* ia = allocate<int>(n + 1, kFailure);
    double* d = allocate<double>(n + 1, kFailure);
    ia[0] = 1;
    for (int r = 1; r <= n; ++r) {
        int i = state[r];
        length[i] = s.ia[i] - s.ia[i - 1];
        ia[r] = ia[r - 1] + length[i];
        d[r] = s.d[i];
    }
    std::free(s.ia);
    std::free(s.d);
    s.ia = ia;
    s.d = d;
    if (s.code)
        RenumberEntries(s, begin, length, s.code);
    else
        RenumberEntries(s, begin, length, s.a);
}

template <class Value>
void SweepOrder::RenumberEntries(ScaledMatrix& s, std::vector<int>& begin,
                                 const std::vector<int>& length, Value* value) const
{
    const int* ia = s.ia;  // already the renumbered rows'
    const int end = ia[n];
    const int longest = *std::max_element(length.begin(), length.end());
    const int capacity = static_cast<int>(std::max<long>({1, longest, (end - 1) / kShares}));
    int* columns = allocate<int>(capacity, kFailure);
    Value* values = allocate<Value>(capacity, kFailure);
    // Renumbered rows fill [1, filled); the rows left lie in [filled, end)
    // in their old order, row i from begin[i - 1].
    int filled = 1;
    for (int first = 1; first <= n;) {
        int last = first;
        while (last < n && ia[last + 1] - ia[first - 1] <= capacity) ++last;
        int share = ia[last] - ia[first - 1];
        for (int r = first, k = 0; r <= last; ++r) {
            int i = state[r];
            for (int e = begin[i - 1]; e < begin[i - 1] + length[i]; ++e, ++k) {
                columns[k] = position[s.ja[e]];
                values[k] = value[e];
            }
        }
        // Packs the rows left against the end, a run of rows between two
        // gathered ones at a time, from the last row down.
        int to = end, run_end = end;
        auto move_run = [&](int run_begin) {
            int size = run_end - run_begin;
            if (to != run_end) {
                std::memmove(s.ja + to - size, s.ja + run_begin, size * sizeof(int));
                std::memmove(value + to - size, value + run_begin, size * sizeof(Value));
            }
            to -= size;
        };
        for (int i = n; i >= 1; --i) {
            if (position[i] < first) continue;  // renumbered before
            if (position[i] <= last) {
                move_run(begin[i - 1] + length[i]);
                run_end = begin[i - 1];
            } else {
                begin[i - 1] += to - run_end;
            }
        }
        move_run(filled);
        std::copy(columns, columns + share, s.ja + filled);
        std::copy(values, values + share, value + filled);
        filled += share;
        first = last + 1;
    }
    std::free(columns);
    std::free(values);
}

void SweepOrder::ToOrder(const double* x, double* into) const
{
    for (int r = 1; r <= n; ++r) into[r] = x[state[r]];
}

void SweepOrder::FromOrder(const double* x, double* into) const
{
    for (int r = 1; r <= n; ++r) into[state[r]] = x[r];
}
