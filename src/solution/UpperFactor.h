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
#pragma once

#include <cmath>
#include <vector>

class UpperFactor {
public:
    // ju and u hold `storage` + 1 entries and may be reallocated; n rows.
    UpperFactor(int n, int* iu, int** ju, double** u, long storage, long limit);

    // Row s (s = 1, 2, ... in turn) from the columns `columns` other than its
    // pivot column `pivot`, each with the value value_of(column) times
    // `reciprocal`, those below `droptol` dropped and counted in `dropped`.
    // False when out of storage.
    template <class ValueOf>
    bool Store(int s, int pivot, const std::vector<int>& columns, ValueOf value_of,
               double reciprocal, double droptol, int& dropped);

    long Used() const { return used_; }
    int Begin(int s) const { return iu_[s]; }
    int End(int s) const { return iu_[s + 1]; }
    const int* ColumnsOf(int s) const { return *ju_ + list_[s]; }
    const double* Values() const { return *u_; }
    // The last row of row s's run.
    int RunEnd(int s) const { return last_[first_[s]]; }

    // x = the solution of U x = y (y overwritten), through the column order
    // c and its inverse ic.
    void Substitute(int n, const int* c, const int* ic, double* y, double* x) const;

private:
    bool Reserve(long values, long columns);
    // Row s's pivot column moved to the front of row s - 1's list (with the
    // values of every row of the run); row s then lists the rest.
    void JoinRun(int s, int pivot);
    void StartRow(int s);

    int* iu_;
    int** ju_;
    double** u_;
    std::vector<int> list_;       // row s's first column at (*ju_)[list_[s]]
    std::vector<int> first_;      // the first row of row s's run
    std::vector<int> last_;       // for a first row, the last of its run
    std::vector<int> listed_by_;  // the last row listing a column
    long value_capacity_;
    long column_capacity_;
    long limit_;
    long used_ = 0;     // values stored
    long columns_ = 0;  // columns stored
};

template <class ValueOf>
bool UpperFactor::Store(int s, int pivot, const std::vector<int>& columns, ValueOf value_of,
                        double reciprocal, double droptol, int& dropped)
{
    long length = static_cast<long>(columns.size());
    if (!Reserve(used_ + length, columns_ + length)) return false;
    int before = s - 1;
    bool continues = before >= 1 && listed_by_[pivot] == before &&
                     length == iu_[s] - iu_[before] - 1;
    for (int t = 0; continues && t < length; ++t)
        continues = listed_by_[columns[t]] == before &&
                    !(std::fabs(value_of(columns[t]) * reciprocal) < droptol);
    if (continues) {
        JoinRun(s, pivot);
        const int* listed = ColumnsOf(s);
        for (long t = 0; t < length; ++t) {
            (*u_)[++used_] = value_of(listed[t]) * reciprocal;
            listed_by_[listed[t]] = s;
        }
    } else {
        StartRow(s);
        for (int column : columns) {
            double value = value_of(column) * reciprocal;
            if (std::fabs(value) < droptol) {
                ++dropped;
                continue;
            }
            (*ju_)[++columns_] = column;
            (*u_)[++used_] = value;
            listed_by_[column] = s;
        }
    }
    iu_[s + 1] = static_cast<int>(used_) + 1;
    return true;
}
