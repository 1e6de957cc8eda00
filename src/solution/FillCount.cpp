// CSparse (SuiteSparse) supplies the elimination tree, its postorder and the
// column counts; it wants the upper triangle of the permuted pattern in
// compressed columns, which is built here without values.
#include "solution/FillCount.h"

#include <suitesparse/cs.h>

#include <new>

FillCount count_fill(const SymmetricPattern& pattern, const std::vector<int>& order)
{
    int size = pattern.Size();
    FillCount count;
    std::vector<int> step_of, column_start, rows;
    try {
        step_of.resize(size);
        column_start.assign(size + 1, 0);
        rows.resize(pattern.adjacent.size() / 2);
        count.length.resize(size);
    } catch (const std::bad_alloc&) {
        return FillCount();
    }
    for (int s = 0; s < size; ++s) step_of[order[s]] = s;
    auto each_upper = [&](auto&& visit) {
        for (int v = 0; v < size; ++v)
            for (int e = pattern.start[v]; e < pattern.start[v + 1]; ++e) {
                int a = step_of[v], b = step_of[pattern.adjacent[e]];
                if (a < b) visit(a, b);
            }
    };
    each_upper([&](int, int column) { ++column_start[column + 1]; });
    for (int s = 0; s < size; ++s) column_start[s + 1] += column_start[s];
    std::vector<int> next(column_start.begin(), column_start.end() - 1);
    each_upper([&](int row, int column) { rows[next[column]++] = row; });

    cs_di upper{};
    upper.nzmax = column_start[size];
    upper.m = upper.n = size;
    upper.p = column_start.data();
    upper.i = rows.data();
    upper.x = nullptr;
    upper.nz = -1;
    int* parent = cs_di_etree(&upper, 0);
    int* postorder = parent ? cs_di_post(parent, size) : nullptr;
    int* columns = postorder ? cs_di_counts(&upper, parent, postorder, 0) : nullptr;
    if (columns) {
        for (int s = 0; s < size; ++s) {
            // The count includes the diagonal; row s of U holds the rest.
            double off_diagonal = columns[s] - 1;
            count.length[s] = columns[s] - 1;
            count.u_entries += off_diagonal;
            count.work += off_diagonal * off_diagonal;
        }
        count.counted = true;
    }
    cs_di_free(parent);
    cs_di_free(postorder);
    cs_di_free(columns);
    if (!count.counted) count.length.clear();
    return count;
}
