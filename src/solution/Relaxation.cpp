// Damped Jacobi iteration with an adaptive relaxation factor. Every sweep
// reads the scaled matrix once: the products S v of the Jacobi step double as
// the residuals of v (A v = d (v + S v) row by row), and because the relaxed
// vector is a blend of the old one and the Jacobi iterate, its products and
// residuals are the same blend and need no second pass. The normalisation
// row is kept implicit, its product is the plain sum of the vector.
#include "solution/Relaxation.h"

#include "foundation/RunState.h"
#include "solution/IterationProgress.h"
#include "solution/SolverAllocation.h"
#include "solution/SolverMessages.h"
#include "solution/SparseRows.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <thread>
#include <vector>

int relaxation_split_entries = 1 << 20;

namespace {

// The larger of two residuals; a NaN wins, so that it can never pass for
// convergence.
double worse(double largest, double residual)
{
    return (residual > largest || std::isnan(residual)) ? residual : largest;
}

// sv = S v for the rows first..last-1; returns their largest residual.
double sweep_rows(int first, int last, const ScaledMatrix& s, const double* v, double* sv)
{
    double largest = 0.0;
    for (int i = first; i < last; ++i) {
        double sum = 0.0;
        for (int e = s.ia[i - 1]; e < s.ia[i]; ++e) sum += s.a[e] * v[s.ja[e]];
        sv[i] = sum;
        largest = worse(largest, std::fabs(s.d[i] * (v[i] + sum)));
    }
    return largest;
}

// The rows from `middle` on, in a second thread, with the rows before in this
// one; false when no thread could be started.
bool sweep_halves(int middle, int n, const ScaledMatrix& s, const double* v, double* sv,
                  double& largest)
{
    double upper = 0.0;
    std::thread helper;
    try {
        helper = std::thread([&] { upper = sweep_rows(middle, n, s, v, sv); });
    } catch (const std::system_error&) {
        return false;
    }
    double lower = sweep_rows(1, middle, s, v, sv);
    helper.join();
    largest = worse(lower, upper);
    return true;
}

// sv = S v for the rows 1..n-1 and the normalisation row n; returns the
// largest residual of v over the rows 1..n-1. A large matrix is swept by two
// threads, each over about half of the entries: every row is still summed in
// its own order, and the largest residual does not depend on the order in
// which rows are seen, so the figures are those of a single thread.
double sweep(int n, const ScaledMatrix& s, const double* v, double* sv)
{
    double largest = 0.0;
    int entries = s.ia[n - 1] - 1;
    bool split = false;
    if (entries >= relaxation_split_entries && std::thread::hardware_concurrency() > 1) {
        int middle = static_cast<int>(std::lower_bound(s.ia, s.ia + n, 1 + entries / 2) - s.ia) + 1;
        split = sweep_halves(std::min(middle, n), n, s, v, sv, largest);
    }
    if (!split) largest = sweep_rows(1, n, s, v, sv);
    double total = 0.0;
    for (int i = 1; i < n; ++i) total += v[i];
    sv[n] = total;
    return largest;
}

// x += (y - x) omega, and S x alike since S is linear; y becomes the next
// Jacobi iterate b - S x. Returns the largest residual of the new x over the
// rows 1..n-1.
double relax(int n, const ScaledMatrix& s, double omega, double* x, double* sx, double* y,
             const double* sy)
{
    double largest = 0.0;
    for (int i = 1; i <= n; ++i) {
        x[i] += (y[i] - x[i]) * omega;
        sx[i] += (sy[i] - sx[i]) * omega;
        if (i < n) largest = worse(largest, std::fabs(s.d[i] * (x[i] + sx[i])));
        y[i] = -sx[i];
    }
    y[n] += 1.0;
    return largest;
}

// Row i of A as a matrix of its own (positions 1.., row pointers {1, end}),
// so that its products are summed in the same order as from A.
struct KeptRow {
    std::vector<double> a;
    std::vector<int> ja;
    int ia[2];
};

KeptRow keep_row(int i, const double* a, const int* ia, const int* ja)
{
    KeptRow row{std::vector<double>(a + ia[i - 1] - 1, a + ia[i]),
                std::vector<int>(ja + ia[i - 1] - 1, ja + ia[i]), {1, ia[i] - ia[i - 1] + 1}};
    return row;
}

double product(const KeptRow& row, const double* x)
{
    return row_product(1, row.a.data(), row.ia, row.ja.data(), x);
}

void print_prepared_matrices(int n, const ScaledMatrix& s, const int* ia, const int* ja,
                             const double* a)
{
    std::printf("\n\t\t last row exchanged with ones in d-matrix except diagonal element:\n");
    print_rows(1, n - 1, s.a, s.ia, s.ja);
    std::printf("\t\t %d :", n);
    for (int j = 1; j < n; ++j) std::printf(" (%d) 1", j);
    std::printf("\n");
    std::printf("\n\t\t a-matrix for checking reached precision:\n");
    print_rows(1, n, a, ia, ja);
}

}  // namespace

double adapted_relaxation_factor(double previous, double reached, double omega)
{
    if (reached < previous) return 0.8;
    if (reached == 0.0) fail_on_stdout("\t\t SolveLGS : division by zero in function sor()");
    return std::fabs(previous / reached - 0.24 * omega);
}

bool scal(int n, const int* ia, const int* ja, const double* a, ScaledMatrix& s)
{
    const char* failure = "sor - for Matrix description";
    s.ia = allocate<int>(n + 1, failure);
    s.d = allocate<double>(n + 1, failure);
    s.ia[0] = 1;
    int stored = 0;
    for (int i = 1; i <= n; ++i) {
        // Repeated diagonal entries (separate self-loops) add up.
        double diagonal = 0.0;
        bool has_diagonal = false;
        for (int e = ia[i - 1]; e < ia[i]; ++e)
            if (ja[e] == i) {
                diagonal += a[e];
                has_diagonal = true;
            }
        if (!has_diagonal) {
            std::printf("\n\t\t NO_DIAG_ENTRY");
            return false;
        }
        if (diagonal == 0.0) {
            std::printf("\n\t\t DIAG_ZERO");
            return false;
        }
        s.d[i] = diagonal;
        // In place, each row before has given up at least its diagonal
        // entry: an entry is written at or before the place it was read from.
        for (int e = ia[i - 1]; e < ia[i]; ++e) {
            if (ja[e] == i) continue;
            ++stored;
            s.ja[stored] = ja[e];
            s.a[stored] = a[e] / diagonal;
        }
        s.ia[i] = stored + 1;
    }
    return true;
}

void insert_ones(int n, ScaledMatrix& s)
{
    // The ones are not stored: sweep sums the vector for this row.
    s.ia[n] = s.ia[n - 1];
}

void release(ScaledMatrix& s)
{
    std::free(s.ia);
    std::free(s.d);
    std::free(s.code);
    std::free(s.table);
    if (s.owned) {
        std::free(s.ja);
        std::free(s.a);
    }
    s = ScaledMatrix();
}

int sor(int n, int* ia, int* ja, double* a, double* x, int maxiter, double* eps, int nonnull)
{
    // The scaled rows overwrite A's arrays, so that the chain's matrix is held
    // once: of A only the last row is read later, and it is kept aside. Only
    // the listing of both matrices needs a separate copy.
    ScaledMatrix s;
    s.owned = SHOW_LGS;
    const char* matrix_failure = "sor - for Matrix description";
    s.ja = s.owned ? allocate<int>(nonnull + 1, matrix_failure) : ja;
    s.a = s.owned ? allocate<double>(nonnull + 1, matrix_failure) : a;
    const KeptRow last = keep_row(n, a, ia, ja);
    if (!scal(n, ia, ja, a, s)) {
        release(s);
        return -2;
    }
    if (SHOW_LGS) {
        std::printf("\n\t\t scaled d-matrix with removed diagonal elements:\n");
        print_rows(1, n, s.a, s.ia, s.ja);
    }
    insert_ones(n, s);
    if (SHOW_LGS) print_prepared_matrices(n, s, ia, ja, a);

    const char* failure = "p_sor --  malloc: vector Xnew\n";
    double* sx = allocate<double>(n + 1, failure);  // S x
    double* y = allocate<double>(n + 1, failure);   // the Jacobi iterate b - S x
    double* sy = allocate<double>(n + 1, failure);  // S y
    double ax = 0.0;                                // last row of A times x

    double required = *eps;
    double omega = 1.0;
    double previous = 1.0;
    int k = 0;
    int result = -1;
    IterationProgress progress;
    if (maxiter > 0) {
        sweep(n, s, x, sx);
        ax = product(last, x);
        for (int i = 1; i <= n; ++i) y[i] = -sx[i];
        y[n] += 1.0;
    }
    for (;;) {
        if (k >= maxiter) {
            *eps = previous;
            break;
        }
        ++k;
        double ay = product(last, y);
        double reached = worse(sweep(n, s, y, sy), std::fabs(ay));
        if (reached < required) {
            // The Jacobi iterate is the one that reached the accuracy; the
            // relaxed vector of the previous sweep may be far from it (a
            // two-state chain is solved exactly by the first Jacobi step).
            for (int i = 1; i <= n; ++i) x[i] = y[i];
            *eps = reached;
            result = k;
            break;
        }
        omega = adapted_relaxation_factor(previous, reached, omega);
        ax += (ay - ax) * omega;
        reached = worse(relax(n, s, omega, x, sx, y, sy), std::fabs(ax));
        if (reached < required) {
            *eps = reached;
            result = k;
            break;
        }
        previous = reached;
        progress.Iteration(k, reached);
    }
    if (k > 99) std::printf("\n");
    std::free(sx);
    std::free(y);
    std::free(sy);
    release(s);
    return result;
}
