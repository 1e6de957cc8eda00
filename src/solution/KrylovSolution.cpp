// The singular system A x = 0 becomes regular by adding 1 to the last
// diagonal entry: since every column of A sums to zero, a solution of
// (A + e_n e_n^T) x = e_n has x_n = 1 and A x = 0, so it is the steady state
// up to its scale. The matrix is lent to Eigen in place (indices made 0-based
// for the time of the solve), so the chain is still held once; only the
// preconditioner's factors are extra. Eigen's own stop test is on the
// residual norm; it is tightened until the relative imbalance of the
// normalised solution meets the request. The preconditioner is our own
// ILU(0) on A's pattern: Eigen's threshold ILU took minutes to factorise
// chains of sixty thousand states.
#include "solution/KrylovSolution.h"

#include "solution/IncompleteLU.h"
#include "solution/PairwiseSum.h"
#include "solution/SparseRows.h"

#include <Eigen/IterativeLinearSolvers>
#include <Eigen/Sparse>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using RowMatrix = Eigen::SparseMatrix<double, Eigen::RowMajor, int>;
using LentMatrix = Eigen::Map<const RowMatrix>;

// ILU(0) in the shape Eigen's iterative solvers expect of a preconditioner;
// it is factorised before the solver is given it, so compute() is empty.
class Ilu0Preconditioner {
public:
    Ilu0Preconditioner() = default;
    template <class Matrix>
    Ilu0Preconditioner& analyzePattern(const Matrix&)
    {
        return *this;
    }
    template <class Matrix>
    Ilu0Preconditioner& factorize(const Matrix&)
    {
        return *this;
    }
    template <class Matrix>
    Ilu0Preconditioner& compute(const Matrix&)
    {
        return *this;
    }
    Eigen::ComputationInfo info() { return Eigen::Success; }

    void Use(const IncompleteLU* factors) { lu = factors; }
    template <class Vector>
    Eigen::VectorXd solve(const Vector& r) const
    {
        Eigen::VectorXd in = r;
        Eigen::VectorXd z(in.size());
        lu->Solve(in.data(), z.data());
        return z;
    }

private:
    const IncompleteLU* lu = nullptr;
};

// Makes the row pointers and columns 0-based (shift -1) or 1-based again.
void shift_indices(int n, int nonnull, int* ia, int* ja, int shift)
{
    for (int i = 0; i <= n; ++i) ia[i] += shift;
    for (int e = 1; e <= nonnull; ++e) ja[e] += shift;
}

// The position of the diagonal entry of row i (1-based), 0 when there is none.
int diagonal_position(int i, const int* ia, const int* ja)
{
    for (int e = ia[i - 1]; e < ia[i]; ++e)
        if (ja[e] == i) return e;
    return 0;
}

}  // namespace

int bicgstab(int n, int* ia, int* ja, double* a, double* x, int maxiter, double required)
{
    int last = diagonal_position(n, ia, ja);
    if (last == 0) {
        std::printf("\n\t\t NO_DIAG_ENTRY");
        return -2;
    }
    int nonnull = ia[n] - 1;
    const double diagonal = a[last];
    a[last] = diagonal + 1.0;
    shift_indices(n, nonnull, ia, ja, -1);
    LentMatrix matrix(n, n, nonnull, ia, ja + 1, a + 1);

    IncompleteLU factors(n, ia, ja + 1, a + 1);
    Eigen::BiCGSTAB<RowMatrix, Ilu0Preconditioner> solver;
    solver.preconditioner().Use(&factors);
    solver.compute(matrix);
    Eigen::VectorXd b = Eigen::VectorXd::Zero(n);
    b[n - 1] = 1.0;
    Eigen::Map<Eigen::VectorXd> solution(x + 1, n);
    solution /= solution[n - 1] != 0.0 ? solution[n - 1] : 1.0;

    // Each round asks for a residual a hundred times smaller, within a
    // bounded number of iterations: a round that does not lower the
    // imbalance tenfold means the method has stalled at its rounding level,
    // and the Gauss-Seidel steps that follow take it from there.
    int spent = 0;
    int round_limit = maxiter;
    double tolerance = 1e-6;
    double imbalance = std::numeric_limits<double>::infinity();
    while (spent < maxiter) {
        solver.setTolerance(tolerance);
        solver.setMaxIterations(std::min(round_limit, maxiter - spent));
        Eigen::VectorXd next = solver.solveWithGuess(b, solution);
        int used = std::max<int>(1, static_cast<int>(solver.iterations()));
        spent += used;
        if (round_limit == maxiter) round_limit = std::max(20, 2 * used);
        if (!next.allFinite()) break;
        solution = next;
        shift_indices(n, nonnull, ia, ja, 1);
        a[last] = diagonal;
        double reached = relative_imbalance(n, a, ia, ja, x);
        a[last] = diagonal + 1.0;
        shift_indices(n, nonnull, ia, ja, -1);
        bool stalled = !(reached < imbalance * 0.1);
        imbalance = reached;
        if (imbalance < required || stalled) break;
        tolerance *= 1e-2;
    }
    shift_indices(n, nonnull, ia, ja, 1);
    a[last] = diagonal;
    double scale = 1.0 / pairwise_sum(x + 1, n);
    for (int i = 1; i <= n; ++i) x[i] *= scale;
    return spent;
}
