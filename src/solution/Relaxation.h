// The relaxation solver for A x = 0 with sum x = 1: a damped Jacobi
// iteration whose relaxation factor adapts to the progress of the residual.
#pragma once

#include <cstdint>

// The iteration matrix: A without its diagonal, each row divided by the
// diagonal entry d_i. Its last row is the normalisation row once
// insert_ones has run.
struct ScaledMatrix {
    int* ia = nullptr;
    int* ja = nullptr;
    double* a = nullptr;
    double* d = nullptr;
    bool owned = false;  // ja and a were allocated for it, not lent by A
    // The values as codes into a table (code_values), which s owns; a is
    // then no longer read.
    std::uint16_t* code = nullptr;
    double* table = nullptr;

    double Value(int e) const { return code ? table[code[e]] : a[e]; }
};

// Scales A into s.ja and s.a, which the caller provides: arrays of A's size,
// or A's own ja and a (rows are only ever moved towards the front). Makes
// s.ia and s.d; false (after its message) for a row without a diagonal entry
// or with a zero one.
bool scal(int n, const int* ia, const int* ja, const double* a, ScaledMatrix& s);
// Makes the last row the normalisation row: ones in the columns 1..n-1.
void insert_ones(int n, ScaledMatrix& s);
void release(ScaledMatrix& s);

// The damping of the next step: 0.8 while the measure of progress falls
// (reached < previous), otherwise |previous / reached - 0.24 omega|.
double adapted_relaxation_factor(double previous, double reached, double omega);

// Matrices with at least this many off-diagonal entries are swept by two
// threads (tests lower it to cover that path on small chains).
extern int relaxation_split_entries;

// Iterates from x (1..n) to the accuracy *eps on A in row-pointer form.
// A's arrays ja and a are overwritten by the iteration matrix.
// Returns the iterations made on convergence, -1 when maxiter was reached,
// -2 for a matrix it cannot scale; *eps then holds the accuracy reached.
int sor(int n, int* ia, int* ja, double* a, double* x, int maxiter, double* eps, int nonnull);
