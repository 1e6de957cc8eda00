// Incomplete LU factorisation without fill, ILU(0), of a square matrix in
// 0-based compressed rows: L and U keep exactly the matrix's pattern, so the
// factors take one array of values beside the matrix, whose pattern they
// share. The preconditioner of the Krylov iteration.
#pragma once

#include <vector>

class IncompleteLU {
public:
    // Sorts the columns of every row (values with them) and factorises; the
    // pattern arrays must outlive the factors. A row without a usable pivot
    // passes through unscaled, which keeps the preconditioner defined.
    IncompleteLU(int n, const int* start, int* column, double* value);

    // z = U^-1 L^-1 r.
    void Solve(const double* r, double* z) const;

private:
    int n;
    const int* start;
    const int* column;
    std::vector<double> lu;     // L below the diagonal (unit diagonal implied), U from it
    std::vector<int> diagonal;  // position of each row's diagonal entry, -1 when none
};
