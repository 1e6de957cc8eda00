// The solver's pipeline: dimension, matrix in row-pointer form, profile check,
// solution, conversion. All arrays live for one call; pi_vector outlives it.
#include "solution/SolveLGS.h"

#include "foundation/RunState.h"
#include "solution/ChainMatrixReader.h"
#include "solution/DirectSolver.h"
#include "solution/IterationSettings.h"
#include "solution/IterativeSolution.h"
#include "solution/Renormal.h"
#include "solution/SolveLGSState.h"
#include "solution/SolverMessages.h"
#include "solution/SolverSettings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

double* pi_vector = nullptr;
std::vector<double> pi_error;
std::vector<std::vector<double>> pi_error_steps;

namespace {

void reset_arrays()
{
    lgs::a = lgs::nprob = lgs::mprob = nullptr;
    lgs::ia = lgs::ja = lgs::min_ci = nullptr;
}

// The matrix is the largest array; the weighting by sojourn times does not
// need it.
void release_matrix()
{
    std::free(lgs::a);
    std::free(lgs::ia);
    std::free(lgs::ja);
    lgs::a = nullptr;
    lgs::ia = lgs::ja = nullptr;
}

void release_arrays()
{
    release_matrix();
    std::free(lgs::nprob);
    std::free(lgs::mprob);
    reset_arrays();
}

// 1 when fewer than 5 % of the rows start left of a row before them, so that
// the natural row order already suits the elimination.
int profile_structure(int n)
{
    if (n == 0) fail_with_perror("\t\t SolveLGS : division by zero in function SolveLGS()\n\n");
    int running_max = lgs::min_ci[1];
    int breaks = 0;
    for (int i = 2; i <= n; ++i) {
        if (lgs::min_ci[i] < running_max)
            ++breaks;
        else
            running_max = lgs::min_ci[i];
    }
    return static_cast<double>(breaks) / n < 0.05 ? 1 : 0;
}

void solve_iteratively(int n)
{
    if (!lgs::nprob) lgs::nprob = static_cast<double*>(std::malloc((n + 1) * sizeof(double)));
    if (!lgs::nprob || n == 0) {
        print_stars();
        std::printf(lgs::nprob ? "\t\t ERROR in SolveLGS : no. of tang. marking=0 \n"
                               : "\t\t ERROR in SolveLGS\n");
        print_stars();
        solver_exit();
    }
    for (int i = 1; i <= n; ++i) lgs::nprob[i] = 1.0 / n;
    std::printf("\t\t solution with sor ...\n");
    int result = iterate(n, lgs::ia, lgs::ja, lgs::a, lgs::nprob, lgs::max_iter, &lgs::epsilon,
                         lgs::nonnull);
    if (result == -2) {
        print_no_solution("solution");
        solver_exit();
    }
    if (result == -1) {
        print_no_convergence(lgs::max_iter, lgs::epsilon);
        print_error_estimate();
    } else if (DEBUG) {
        print_convergence(result, lgs::epsilon);
        print_error_estimate();
    }
}

}  // namespace

void derive_solution()
{
    if (lgs::method == 1) {
        if (derive_direct_solution() == 0) return;
        std::printf("\n\t\t not enough memory for direct solution found.\n");
        std::printf("\t\t retry with iterative solution\n\n");
    } else if (lgs::method != 0) {
        fail_on_stderr("\t\t SolveLGS: unknown solution method");
    }
    solve_iteratively(lgs::toptan);
}

void print_sta()
{
    int n = lgs::toptan;
    std::printf("\n\t\t %-31s %d\n", "number of nonzeros :", lgs::nonnull - n);
    std::printf("\t\t %-31s %g\n",
                "number of nonzeros per row :", static_cast<double>(n) * n / lgs::nonnull);
    std::printf("\t\t %-31s %1.2e\n", "smallest entry :", lgs::abs_min);
}

void SolveLGS(const char* mode, const char* model, int maxiter, double epsilon)
{
    lgs::method = std::strcmp(mode, "-i") == 0 ? 0 : std::strcmp(mode, "-a") == 0 ? 1 : -1;
    lgs::model = model;
    lgs::max_iter = maxiter;
    lgs::epsilon = epsilon;
    lgs::iteration = read_iteration_settings();
    lgs::error_estimate = -1.0;
    lgs::error_bounds.clear();
    lgs::error_steps.clear();
    reset_arrays();

    lgs::drop_tolerance = lgs::method == 1 ? get_drop_tolerance(epsilon) : 0.0;
    // A tolerance of zero drops nothing and counts as none in use.
    if (lgs::drop_tolerance > kLargestDropTolerance || lgs::drop_tolerance < 0.0)
        lgs::drop_tolerance = 0.0;
    lgs::drop_flag = lgs::drop_tolerance > 0.0 ? 1 : 0;

    lgs::toptan = get_dimension(model);
    read_chain_rows(model, &lgs::a, &lgs::ia, &lgs::ja);
    if (SHOW_LGS) print_p_matrix(model);

    lgs::structure = profile_structure(lgs::toptan);
    std::free(lgs::min_ci);
    lgs::min_ci = nullptr;
    if (SHOW_LGS) print_sta();

    derive_solution();
    release_matrix();
    renormal();
    release_arrays();
    std::vector<double>().swap(lgs::error_bounds);  // renormal() turned them into pi_error
    std::vector<std::vector<double>>().swap(lgs::error_steps);  // and these into pi_error_steps
}
