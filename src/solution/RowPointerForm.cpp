// The coordinate entries are bucketed by their target state with a counting
// pass and in-place cycle permutations: every exchange puts one entry into
// the next free slot of its group, so the conversion is linear in the entries
// and needs only the row pointers and one fill pointer per row besides. A
// single permutation straight into rows jumps across the whole matrix at
// every exchange; two passes stay in cache: the first into blocks of rows
// (few enough that their fill slots stay cached), the second into the rows
// within each block, whose entries are then close together.
// Entries of one row and column are then summed: a marking that reaches one
// successor through edges that are not adjacent in its list has its chain
// row name that successor twice, and the chain's probability is their sum.
#include "solution/RowPointerForm.h"

#include "solution/SolveLGSState.h"
#include "solution/SolverMessages.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

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

// The coarse pass's blocks of rows: at most this many.
constexpr int kRowBlocks = 1024;

// Moves every entry of the positions next[g] .. end[g]-1 (g < groups) into
// the range of its own group group_of(target); each range holds exactly the
// entries of its group.
template <class GroupOf>
void permute_into_groups(int groups, GroupOf group_of, const int* end, int* next, int* target,
                         double* value, int* source)
{
    for (int g = 0; g < groups; ++g) {
        while (next[g] < end[g]) {
            int here = next[g];
            int owner = group_of(target[here]);
            if (owner == g) {
                ++next[g];
                continue;
            }
            int slot = next[owner]++;
            if (slot >= end[owner])
                fail_on_stdout(
                    "\t\t fatal error occured in deriving row-pointer-format of "
                    "emc-matrix; exiting\n");
            std::swap(target[here], target[slot]);
            std::swap(value[here], value[slot]);
            std::swap(source[here], source[slot]);
        }
    }
}

// Orders the entries by target row, given the row ends ptr (ptr[0] = 1, row
// i at ptr[i-1] .. ptr[i]-1); next_free has n + 1 ints of any content.
void order_by_row(int n, const int* ptr, int* next_free, int* target, double* value, int* source)
{
    int shift = 0;
    while (((n - 1) >> shift) >= kRowBlocks) ++shift;
    int blocks = ((n - 1) >> shift) + 1;
    auto first_row = [shift](int b) { return (b << shift) + 1; };
    auto last_row = [n, shift](int b) { return std::min(n, (b + 1) << shift); };

    std::vector<int> block_end(blocks), block_next(blocks);
    for (int b = 0; b < blocks; ++b) {
        block_next[b] = ptr[first_row(b) - 1];
        block_end[b] = ptr[last_row(b)];
    }
    permute_into_groups(
        blocks, [shift](int row) { return (row - 1) >> shift; }, block_end.data(),
        block_next.data(), target, value, source);

    for (int b = 0; b < blocks; ++b) {
        int first = first_row(b);
        for (int row = first; row <= last_row(b); ++row) next_free[row] = ptr[row - 1];
        permute_into_groups(
            last_row(b) - first + 1, [first](int row) { return row - first; }, ptr + first,
            next_free + first, target, value, source);
    }
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
    for (int i = 1; i <= n; ++i) ptr[i] += ptr[i - 1];
    if (n > 0) order_by_row(n, ptr, next_free, target, value, source);

    sum_repeated_columns(n, ptr, value, source, next_free);
    std::free(next_free);
    std::free(*ia);
    *ia = ptr;
    release_slack(a, lgs::nonnull + 1);
    release_slack(ja, lgs::nonnull + 1);
}
