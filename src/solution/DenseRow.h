// One row of the elimination held densely over all n columns, for a row
// too long for a group: a group holds sixteen values per column any of its
// rows touches, so the normalisation row of a million-state chain (an entry
// in every column) would make it 128 MB. Reduced by the rows of U one
// after the other, as row by row.
#pragma once

#include "solution/UpperFactor.h"

#include <vector>

class DenseRow {
public:
    explicit DenseRow(int n) : values_(n + 1, 0.0), held_(n + 1, 0) {}

    // Row i of A (1-based row-pointer form) with the right-hand side `rhs`;
    // false on a column given twice.
    bool Load(const int* ia, const int* ja, const double* a, int i, double rhs);
    // Reduced by rows 1..steps of U in turn, each of them when the row holds
    // its pivot column c[j]: the pivot column is taken out and the row gains
    // the columns of the row of U, holes not.
    void ReduceBy(const UpperFactor& U, int steps, const int* c, const double* y);

    bool Holds(int column) const { return held_[column] != 0; }
    double Value(int column) const { return values_[column]; }
    double RightHandSide() const { return rhs_; }

private:
    std::vector<double> values_;
    std::vector<char> held_;
    std::vector<char> hole_;  // the holes of the row of U being applied, by offset
    double rhs_ = 0.0;
};
