// A group of consecutive rows of the row elimination reduced together, so
// that each row of U they need is read once for all of them instead of once
// per row. The rows are held dense over the columns any of them touches
// (the panel's columns), their kRows values side by side, with a bit per
// row for the columns the row holds: a row holds what its structure says
// (its entries in A and the fill of the rows of U it was reduced by), not
// what its values say, so an entry that cancels to zero still competes for
// the pivot and still counts in U, as it does row by row.
//
// Every entry is reduced by the same rows of U in the same ascending order
// as row by row; only rows that hold a pivot column are reduced by its row.
#pragma once

#include "solution/UpperFactor.h"

#include <cstdint>
#include <vector>

class RowPanel {
public:
    static constexpr int kRows = 16;
    using Mask = std::uint16_t;  // a bit per row of the group

    // c and ic are the column order and its inverse, which the group's
    // pivots update; `work` holds 2 (n + 1) ints, zeroed, for n columns.
    RowPanel(int n, int* c, int* ic, int* work);

    // Starts a group whose first row is eliminated at step `first`.
    void Start(int first);
    // Row `row` of the group from row i of A (1-based row-pointer form),
    // with the right-hand side `rhs`. False on a column given twice; the
    // row is then not loaded.
    bool Load(int row, const int* ia, const int* ja, const double* a, int i, double rhs);

    // Reduces the loaded rows by the rows of U of the steps before the group.
    void ReduceByEarlier(const UpperFactor& U, const double* y);

    // Row `row`'s pivot (step first + row): the column of largest magnitude
    // among those not yet pivoted, the earliest of equal ones; 0 when the
    // row holds none.
    int Pivot(int row);
    double Value(int row, int column) const { return values_[Slot(loc_[column] - 1) + row]; }
    double RightHandSide(int row) const { return rhs_[row]; }
    // Puts column `pivot` at position `s`; the column there takes its place.
    void Exchange(int s, int pivot);
    // Stores the row's other unpivoted entries times `reciprocal` as row s
    // of U, dropping those below `droptol`. False when U is out of storage.
    bool Store(int row, int pivot, double reciprocal, double droptol, int& dropped,
               UpperFactor& U);
    // Reduces the later rows of the group by the row of U just stored.
    void ReduceByStored(int row, int s, const UpperFactor& U, const double* y);

private:
    std::size_t Slot(int local) const { return static_cast<std::size_t>(local) * kRows; }
    // The panel column of a column of A, added when new.
    int Local(int column)
    {
        int local = loc_[column] - 1;
        return local >= 0 ? local : Add(column);
    }
    int Add(int column);
    // The rows of `rows` reduced by the rows j..last of U, a run.
    void Apply(int j, int last, Mask rows, const UpperFactor& U, const double* y);
    // The panel columns of the run's list into targets_, each marked held by
    // the rows that gain it from the run.
    void MarkGained(int j, int count, int width, Mask rows, const UpperFactor& U);
    // The same for a run with holes (holes_): a row gains a column only from
    // a row of the run that holds it, not from one with a hole there.
    void MarkGainedPastHoles(int j, int count, int width, Mask rows, const UpperFactor& U);
    // holes_ into lists by their position (hole_at_, next_hole_).
    void ListHolesByPosition(int count, int width);

    int* c_;
    int* ic_;
    int first_ = 1;
    int* loc_;                    // 1 + the panel's column of a column of A, 0 if none
    std::vector<int> columns_;    // the column of A of each of the panel's columns
    std::vector<double> values_;  // kRows values per panel column
    std::vector<Mask> holds_;     // the rows holding each panel column
    std::vector<int> earlier_;    // min-heap of positions before the group still to reduce by
    std::vector<int> targets_;    // the panel columns of the run of U being applied
    std::vector<double> factors_;  // kRows factors per row of that run
    struct Hole {
        int position;  // in the run's list
        int row;       // of the run
    };
    std::vector<Hole> holes_;       // the holes of the run being applied
    std::vector<int> hole_at_;      // per position of the run's list, its last hole or -1
    std::vector<int> next_hole_;    // the hole before it at the same position, or -1
    std::vector<Mask> reduced_by_;  // the rows each row of that run reduces
    std::vector<Mask> reduced_until_;  // the rows it and the rows before it reduce
    std::vector<int> hole_stamp_;   // per row of that run, the last position it has a hole at
    int done_until_ = 0;          // the rows of U before the group applied so far
    std::vector<int> competing_;  // the columns besides the pivot that competed for it
    int* stamp_;                  // for finding a column given twice in a row of A
    int stamp_count_ = 0;
    double rhs_[kRows] = {};
};
