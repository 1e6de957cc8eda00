// The rows of U as the row elimination stores them: row s's off-diagonal
// values at u[iu[s] .. iu[s+1]-1] of the caller's 1-based arrays, its
// columns in step with them from ju[list[s]] on; u and ju grow on demand,
// doubling, within a limit.
//
// Rows are kept in runs: a row whose columns are those of the row before but
// for its own pivot column shares that row's list of columns, the pivot
// columns of the run's later rows first, so row s's list is the tail of the
// list of every earlier row of its run. A run is reduced by as a block: the
// nested dissection of a chain leaves most of the work in such runs.
//
// Whether a row continues a run is decided by the columns the row holds, not
// by the entries the drop tolerance lets through: a dropped entry keeps its
// place in the row's list as a hole, a zero that is not an entry of U. A
// hole changes no value it is added to, but the rows reduced by its row do
// not gain its column (Holes lists them for that), and it is not counted.
// A row that no later row joins gives its holes back.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

class UpperFactor {
public:
    // ju and u hold `storage` + 1 entries and may be reallocated; n rows; at
    // most `limit` entries of U.
    UpperFactor(int n, int* iu, int** ju, double** u, long storage, long limit);

    // Row s (s = 1, 2, ... in turn) from the columns `columns` other than its
    // pivot column `pivot`, each with the value value_of(column) times
    // `reciprocal`, those below `droptol` dropped and counted in `dropped`.
    // False when out of storage.
    template <class ValueOf>
    bool Store(int s, int pivot, const std::vector<int>& columns, ValueOf value_of,
               double reciprocal, double droptol, int& dropped);

    // The entries of U stored: holes are not entries.
    long Entries() const { return entries_; }
    int Begin(int s) const { return iu_[s]; }
    int End(int s) const { return iu_[s + 1]; }
    const int* ColumnsOf(int s) const { return *ju_ + list_[s]; }
    const double* Values() const { return *u_; }
    // The last row of row s's run.
    int RunEnd(int s) const { return last_[first_[s]]; }
    // visit(offset) for each hole of row s, by its offset in the row's list.
    template <class Visit>
    void Holes(int s, Visit visit) const;

    // x = the solution of U x = y (y overwritten), through the column order
    // c and its inverse ic.
    void Substitute(int n, const int* c, const int* ic, double* y, double* x) const;

private:
    bool Reserve(long values, long columns);
    // Row s's pivot column moved to the front of row s - 1's list (with the
    // values of every row of the run); row s then lists the rest.
    void JoinRun(int s, int pivot);
    void StartRow(int s);
    // Row s, the last stored and alone in its run, without its holes.
    void Compact(int s);
    // One value of row s: `value` below `droptol` becomes a hole.
    void Put(int s, double value, double droptol, int& dropped);
    bool IsHole(long at) const { return (hole_bits_[at >> 6] >> (at & 63)) & 1; }
    void FlipHole(long at) { hole_bits_[at >> 6] ^= std::uint64_t(1) << (at & 63); }

    int* iu_;
    int** ju_;
    double** u_;
    std::vector<int> list_;       // row s's first column at (*ju_)[list_[s]]
    std::vector<int> first_;      // the first row of row s's run
    std::vector<int> last_;       // for a first row, the last of its run
    std::vector<int> listed_by_;  // the last row listing a column
    std::vector<int> holes_in_;   // the holes of each row
    std::vector<std::uint64_t> hole_bits_;  // a bit per value of u: a hole
    long value_capacity_;
    long column_capacity_;
    long limit_;
    long entries_ = 0;  // entries of U stored
    long values_ = 0;   // values stored, holes too
    long columns_ = 0;  // columns stored
};

template <class ValueOf>
bool UpperFactor::Store(int s, int pivot, const std::vector<int>& columns, ValueOf value_of,
                        double reciprocal, double droptol, int& dropped)
{
    long length = static_cast<long>(columns.size());
    if (entries_ + length > limit_ || !Reserve(values_ + length, columns_ + length)) return false;
    int before = s - 1;
    bool continues = before >= 1 && listed_by_[pivot] == before &&
                     length == iu_[s] - iu_[before] - 1;
    for (int t = 0; continues && t < length; ++t) continues = listed_by_[columns[t]] == before;
    if (continues) {
        JoinRun(s, pivot);
        const int* listed = ColumnsOf(s);
        for (long t = 0; t < length; ++t) {
            Put(s, value_of(listed[t]) * reciprocal, droptol, dropped);
            listed_by_[listed[t]] = s;
        }
    } else {
        if (before >= 1 && first_[before] == before) Compact(before);
        StartRow(s);
        for (int column : columns) {
            (*ju_)[++columns_] = column;
            Put(s, value_of(column) * reciprocal, droptol, dropped);
            listed_by_[column] = s;
        }
    }
    iu_[s + 1] = static_cast<int>(values_) + 1;
    return true;
}

inline void UpperFactor::Put(int s, double value, double droptol, int& dropped)
{
    ++values_;
    if (std::fabs(value) < droptol) {
        ++dropped;
        ++holes_in_[s];
        FlipHole(values_);
        value = 0.0;
    } else {
        ++entries_;
    }
    (*u_)[values_] = value;
}

template <class Visit>
void UpperFactor::Holes(int s, Visit visit) const
{
    if (holes_in_[s] == 0) return;
    long begin = iu_[s], end = iu_[s + 1];
    for (long word = begin >> 6; word <= (end - 1) >> 6; ++word) {
        std::uint64_t bits = hole_bits_[word];
        while (bits) {
            long at = (word << 6) + __builtin_ctzll(bits);
            bits &= bits - 1;
            if (at >= begin && at < end) visit(static_cast<int>(at - begin));
        }
    }
}
