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

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <malloc.h>

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

// Under a work budget of its own (DIRECT WORK), the elimination refused a
// chain the iteration was expected to solve sooner. A nearly decomposable
// chain proves that wrong: the coloured bench net with 10 jobs a class
// (20,220 states) was not solved in 100,000 sweeps, where eliminating it
// takes 3.3e8 multiply-adds, a fraction of a second. So the iteration first
// runs a probe of kProbeSweeps; unconverged, the elimination is tried again
// with kWorkFactor times the multiply-adds the probe took (the storage
// budget unchanged), and the iteration goes on only if it is refused again.
constexpr int kProbeSweeps = 2000;
constexpr double kWorkFactor = 10.0;

bool probes_the_iteration(bool refused_elimination)
{
    return refused_elimination && lgs::iteration.direct_work > 0.0 && lgs::iteration.error_stop &&
           lgs::max_iter > kProbeSweeps;
}

// The probe consumed A (the iteration scales and codes it in place): the
// chain files give it again.
void reread_matrix()
{
    release_matrix();
    read_chain_rows(lgs::model, &lgs::a, &lgs::ia, &lgs::ja);
    std::free(lgs::min_ci);
    lgs::min_ci = nullptr;
}

// Sweeps at most `sweeps` times towards *reached; a chain the iteration
// cannot take at all ends the run.
int sweep(int n, int sweeps, double* reached)
{
    int result = iterate(n, lgs::ia, lgs::ja, lgs::a, lgs::nprob, sweeps, reached, lgs::nonnull);
    if (result == -2) {
        print_no_solution("solution");
        solver_exit();
    }
    return result;
}

void report_iteration(int result, int probed)
{
    if (result == -1) {
        print_no_convergence(lgs::max_iter, lgs::epsilon);
        print_error_estimate();
    } else if (DEBUG) {
        print_convergence(probed + result, lgs::epsilon);
        print_error_estimate();
    }
}

// After an unconverged probe: true when the elimination solved the chain;
// otherwise lgs::nprob holds the probe's iterate again, to go on from.
bool eliminate_after_probe(int n)
{
    double budget = kWorkFactor * kProbeSweeps * static_cast<double>(lgs::nonnull);
    if (DEBUG)
        std::printf("\t\t no convergence within %d iterations: eliminating if it takes up to "
                    "%.3g multiply-adds\n",
                    kProbeSweeps, budget);
    reread_matrix();
    std::vector<double> iterate_so_far(lgs::nprob, lgs::nprob + n + 1);
    double work_budget = lgs::iteration.direct_work;
    lgs::iteration.direct_work = budget;
    // Such a chain hangs together by its smallest entries: dropping any
    // left the coloured net's elimination with an estimated error of 31.
    lgs::drop_tolerance = 0.0;
    lgs::drop_flag = 0;
    bool solved = derive_direct_solution() == 0;
    lgs::iteration.direct_work = work_budget;
    if (solved) return true;
    std::copy(iterate_so_far.begin(), iterate_so_far.end(), lgs::nprob);
    if (DEBUG) std::printf("\t\t going on with the iteration\n");
    return false;
}

void solve_iteratively(int n, bool refused_elimination)
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
    int probed = 0;
    if (probes_the_iteration(refused_elimination)) {
        // The probe keeps epsilon, which the elimination after it aims at.
        double reached = lgs::epsilon;
        int result = sweep(n, kProbeSweeps, &reached);
        if (result >= 0) {
            lgs::epsilon = reached;
            report_iteration(result, 0);
            return;
        }
        if (eliminate_after_probe(n)) return;
        probed = kProbeSweeps;
    }
    report_iteration(sweep(n, lgs::max_iter - probed, &lgs::epsilon), probed);
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
    solve_iteratively(lgs::toptan, lgs::method == 1);
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
    // The allocator keeps the pages of the solver's arrays that it placed in
    // its own heap rather than in mappings of their own. The measures read
    // the graph back next, page by page: without this its pages come on top
    // of the kept ones, which made the measures, not the solve, the run's
    // peak of memory.
    malloc_trim(0);
}
