// Row-by-row ILU(0) (the IKJ form): row i is reduced by the earlier rows k it
// has an entry in, in ascending k, and only entries already present in row i
// are updated; whatever a full elimination would add is left out.
#include "solution/IncompleteLU.h"

#include <algorithm>
#include <numeric>

namespace {

void sort_row(int begin, int end, int* column, double* value)
{
    if (std::is_sorted(column + begin, column + end)) return;
    std::vector<int> order(end - begin);
    std::iota(order.begin(), order.end(), begin);
    std::sort(order.begin(), order.end(), [column](int x, int y) { return column[x] < column[y]; });
    std::vector<double> values;
    std::vector<int> columns;
    for (int at : order) {
        values.push_back(value[at]);
        columns.push_back(column[at]);
    }
    std::copy(values.begin(), values.end(), value + begin);
    std::copy(columns.begin(), columns.end(), column + begin);
}

}  // namespace

IncompleteLU::IncompleteLU(int n, const int* start, int* column, double* value)
    : n(n), start(start), column(column), diagonal(n, -1)
{
    for (int i = 0; i < n; ++i) sort_row(start[i], start[i + 1], column, value);
    lu.assign(value, value + start[n]);

    std::vector<int> where(n, -1);  // position of each column in the current row
    for (int i = 0; i < n; ++i) {
        for (int e = start[i]; e < start[i + 1]; ++e) {
            where[column[e]] = e;
            if (column[e] == i) diagonal[i] = e;
        }
        for (int e = start[i]; e < start[i + 1] && column[e] < i; ++e) {
            int k = column[e];
            if (diagonal[k] < 0) continue;
            lu[e] /= lu[diagonal[k]];
            for (int f = diagonal[k] + 1; f < start[k + 1]; ++f)
                if (int at = where[column[f]]; at >= 0) lu[at] -= lu[e] * lu[f];
        }
        if (diagonal[i] >= 0 && lu[diagonal[i]] == 0.0) diagonal[i] = -1;
        for (int e = start[i]; e < start[i + 1]; ++e) where[column[e]] = -1;
    }
}

void IncompleteLU::Solve(const double* r, double* z) const
{
    for (int i = 0; i < n; ++i) {
        double sum = r[i];
        for (int e = start[i]; e < start[i + 1] && column[e] < i; ++e) sum -= lu[e] * z[column[e]];
        z[i] = sum;
    }
    for (int i = n - 1; i >= 0; --i) {
        double sum = z[i];
        for (int e = start[i + 1] - 1; e >= start[i] && column[e] > i; --e)
            sum -= lu[e] * z[column[e]];
        z[i] = diagonal[i] >= 0 ? sum / lu[diagonal[i]] : sum;
    }
}
