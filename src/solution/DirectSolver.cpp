// The direct solver's control: the normalisation row takes the place of the
// last row that is not a lone diagonal, the rows are ordered by length when
// their profile is irregular, and the elimination is retried with a rising
// drop tolerance whenever U outgrows the storage, until the tolerance would
// pass 0.01 and the caller falls back to relaxation.
#include "solution/DirectSolver.h"

#include "foundation/RunState.h"
#include "solution/ChainDepth.h"
#include "solution/EliminationForecast.h"
#include "solution/IterativeSolution.h"
#include "solution/NormalisationRow.h"
#include "solution/Nspiv.h"
#include "solution/SolveLGSState.h"
#include "solution/SolverMessages.h"
#include "solution/SolverSettings.h"
#include "solution/SparseRows.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace {

// The arrays of one elimination; all 1-based.
struct Elimination {
    int* r = nullptr;
    int* c = nullptr;
    int* ic = nullptr;
    double* y = nullptr;
    int* iu = nullptr;
    int* p = nullptr;
    int* ju = nullptr;
    double* u = nullptr;

    void Release()
    {
        std::free(r);
        std::free(c);
        std::free(ic);
        std::free(y);
        std::free(iu);
        std::free(p);
        ReleaseU();
        *this = Elimination();
    }
    void ReleaseU()
    {
        std::free(ju);
        std::free(u);
        ju = nullptr;
        u = nullptr;
    }
};

template <class T>
bool obtain(T*& array, long count, bool zeroed, const char* failure)
{
    std::size_t bytes = static_cast<std::size_t>(count) * sizeof(T);
    array = static_cast<T*>(zeroed ? std::calloc(count, sizeof(T)) : std::malloc(bytes));
    if (!array) std::perror(failure);
    return array != nullptr;
}

bool allocate(Elimination& w, int n)
{
    if (!lgs::nprob && !obtain(lgs::nprob, n + 1, false, "\t\t malloc: no mem for nprob\n\n"))
        return false;
    return obtain(w.r, n + 1, false, "\t\t malloc: no mem for r\n\n") &&
           obtain(w.c, n + 1, false, "\t\t malloc: no mem for c\n\n") &&
           obtain(w.ic, n + 1, true, "\t\t calloc: no mem for ic\n\n") &&
           obtain(w.y, n + 1, false, "\t\t malloc: no mem for y\n\n") &&
           obtain(w.iu, n + 2, false, "\t\t malloc: no mem for iu\n\n") &&
           obtain(w.p, 2 * (n + 1), true, "\t\t calloc: no mem for p\n\n");
}

// The fill-reducing order when there is one; otherwise rows of an irregular
// profile go by length.
void order_rows(Elimination& w, int n, const EliminationForecast& forecast)
{
    for (int i = 1; i <= n; ++i) w.r[i] = w.c[i] = w.ic[i] = i;
    if (forecast.ordered)
        std::copy(forecast.order.begin() + 1, forecast.order.end(), w.r + 1);
    else if (lgs::structure == 0)
        std::stable_sort(w.r + 1, w.r + n + 1,
                         [](int first, int second) { return compare(&first, &second) < 0; });
}

// U within the storage the elimination may take, the work within what an
// answer is worth waiting for (beyond it the iteration is faster by far).
EliminationBudget elimination_budget()
{
    EliminationBudget budget;
    budget.u_entries = static_cast<double>(direct_storage_entries());
    budget.work = lgs::iteration.direct_work > 0.0 ? lgs::iteration.direct_work : kDirectWorkBudget;
    return budget;
}

// Whether the elimination the forecast describes fits the budget.
bool within_budget(const EliminationForecast& forecast, const EliminationBudget& budget, int n)
{
    if (!forecast.ordered) return true;
    bool fits = forecast.Within(budget, n);
    if (DEBUG) {
        std::printf("\t\t forecast of the elimination: %.0f entries of U, %.3g multiply-adds",
                    forecast.u_entries, forecast.work);
        if (forecast.states < n) std::printf(" for %d of %d states", forecast.states, n);
        std::printf("%s\n", fits ? "" : " (beyond the budget)");
    }
    return fits;
}

// The storage codes raise the drop tolerance; every other failure is fatal.
void handle_failure(int code, int n)
{
    if (code == 0) fail_on_stdout("\t\t ERROR: matrix dimension = 0\n");
    if (code >= -n) fail_on_stdout("\t\t ERROR: row number %d of A is null\n", -code);
    if (code >= -2 * n)
        fail_on_stdout("\t\t ERROR: row number %d has a duplicate entry\n", -code - n);
    if (code >= -3 * n)
        fail_on_stdout("\t\t ERROR: row number %d has a zero pivot\n", -code - 2 * n);
    double before = lgs::drop_tolerance;
    if (lgs::drop_flag == 1) {
        lgs::drop_tolerance *= 10.0;
    } else {
        lgs::drop_flag = 1;
        lgs::drop_tolerance = lgs::epsilon * kDefaultDropFactor;
    }
    // A tolerance that cannot rise (epsilon 0) would repeat the same run.
    if (lgs::drop_tolerance <= before) lgs::drop_tolerance = 2 * kLargestDropTolerance;
    if (lgs::drop_tolerance <= kLargestDropTolerance) {
        std::printf("\n \t\t storage of U-matrix exceeds available storage.\n");
        std::printf("\t\t retrying solution with drop-tolerance %g\n", lgs::drop_tolerance);
        std::fflush(stdout);
    }
}

// Runs the elimination until it succeeds; false when memory ran out.
bool eliminate(Elimination& w, int n, int k)
{
    long storage = lgs::nonnull / 2;
    int num_drop = 0;
    int code = 0;
    for (;;) {
        if (lgs::drop_tolerance > kLargestDropTolerance) return false;
        if (!obtain(w.u, storage + 1, false, "\t\t malloc: no mem for u\n\n") ||
            !obtain(w.ju, storage + 1, false, "\t\t malloc: no mem for ju\n\n"))
            return false;
        dnspiv1_mod(n, lgs::ia, lgs::ja, lgs::a, k, storage, w.r, w.c, w.ic, lgs::nprob, w.y, w.iu,
                    w.p, &w.ju, &w.u, lgs::drop_tolerance, &num_drop, &code);
        w.ReleaseU();
        if (code > 0) break;
        handle_failure(code, n);
    }
    if (DEBUG) {
        std::printf("\t\t solution process terminated\n");
        std::printf("\t\t number of off-diagonal elements of U: %d\n", code);
        if (lgs::drop_flag == 1) {
            std::printf("\t\t droptolerance: %g\n", lgs::drop_tolerance);
            std::printf("\t\t number of dropped elements: %d\n", num_drop);
        }
    }
    return true;
}

// Relaxation from the direct solution; the better of the two is kept.
void refine(int n, double direct_prec)
{
    double* direct_nprob = static_cast<double*>(std::malloc((n + 1) * sizeof(double)));
    if (!direct_nprob) fail_with_perror("\t\t SolveLGS\n\n");
    std::memcpy(direct_nprob, lgs::nprob, (n + 1) * sizeof(double));
    std::printf("\n \t\t iterative refinement of solution with sor ...\n");
    double direct_estimate = lgs::error_estimate;
    std::vector<double> direct_bounds = lgs::error_bounds;
    int result = iterate(n, lgs::ia, lgs::ja, lgs::a, lgs::nprob, lgs::max_iter, &lgs::epsilon,
                         lgs::nonnull);
    if (result == -2) {
        print_no_solution("refinement");
    } else if (result == -1) {
        print_no_convergence(lgs::max_iter, lgs::epsilon);
        print_error_estimate();
    } else if (DEBUG) {
        print_convergence(result, lgs::epsilon);
        print_error_estimate();
    }
    if (direct_prec < lgs::epsilon) {
        lgs::error_estimate = direct_estimate;
        lgs::error_bounds = std::move(direct_bounds);
        lgs::error_steps.clear();  // elimination leaves no steps
        std::memcpy(lgs::nprob, direct_nprob, (n + 1) * sizeof(double));
        if (DEBUG) {
            print_stars();
            std::printf("\t\t iterative refinement was not succesfull\n");
            std::printf("\t\t keeping direct solution\n");
            print_stars();
        }
    }
    std::free(direct_nprob);
}

}  // namespace

int get_nrnbr(int n, const int* ia)
{
    for (int i = n; i >= 1; --i)
        if (ia[i] - ia[i - 1] > 1) return i;
    return -1;
}

int compare(const int* first, const int* second)
{
    return (lgs::ia[*first] - lgs::ia[*first - 1]) - (lgs::ia[*second] - lgs::ia[*second - 1]);
}

namespace {

// The storage limit of U for one direct solution: the per-user file's
// DIRECT MEMORY unless a limit is set already.
class StorageBudget {
public:
    StorageBudget() : saved(direct_storage_limit)
    {
        double megabytes = lgs::iteration.direct_memory_mb;
        if (saved == 0 && megabytes > 0.0)
            direct_storage_limit = static_cast<std::size_t>(megabytes * 1048576.0);
    }
    ~StorageBudget() { direct_storage_limit = saved; }

private:
    std::size_t saved;
};

// The relative rounding error an elimination leaves in every probability:
// the solution is carried from state to state along the chain, and each
// step adds rounding. On the 10,000-state counter of the benchmark (a line,
// 9,999 steps deep) the probabilities above 1e-15 of the largest were off
// by up to 2.9e-11, on the unit tests' line of 10,000 states by 3.8e-11
// (17 units of 2.2e-16 a step), where the one change the estimate saw was
// 4.4e-15. Thirty-two units a step cover them (7.1e-11) without swamping
// the estimates of shallow chains (a few dozen steps).
double elimination_rounding(int n, int normalisation_row)
{
    constexpr double kUnitsPerStep = 32.0;
    const double unit = std::numeric_limits<double>::epsilon();
    return kUnitsPerStep * unit * chain_depth(n, lgs::ia, lgs::ja, normalisation_row);
}

}  // namespace

int derive_direct_solution()
{
    StorageBudget storage_limit;
    int n = lgs::toptan;
    int k = get_nrnbr(n, lgs::ia);
    if (k <= 0) fail_on_stdout("\t\t ERROR: zero matrix dimension\n");

    EliminationBudget budget = elimination_budget();
    EliminationForecast forecast = forecast_elimination(n, lgs::ia, lgs::ja, k, budget);
    if (!within_budget(forecast, budget, n)) return 1;
    KeptRow kept;
    if (!insert_normalisation_row(k, kept)) return 1;
    Elimination w;
    bool solved = allocate(w, n);
    if (solved) {
        order_rows(w, n, forecast);
        if (DEBUG) std::printf("\t\t solution with sparse Gaussian-Elimination ...\n");
        solved = eliminate(w, n, k);
    }
    w.Release();
    restore_row(kept);
    if (!solved) return 1;

    double direct_prec = accuracy(n, lgs::a, lgs::ia, lgs::ja, lgs::nprob);
    if (DEBUG) std::printf("\t\t achieved accuracy:%g\n", direct_prec);
    if (!lgs::iteration.error_stop) {
        if (direct_prec <= lgs::epsilon) return 0;
    } else {
        // Elimination leaves no rate to extrapolate with: its estimate is the
        // relative change one more step would make, and so are its bounds,
        // to which comes the rounding carried along the chain. A refinement
        // could not remove that, so only the change decides on one.
        double imbalance = relative_imbalance(n, lgs::a, lgs::ia, lgs::ja, lgs::nprob);
        double rounding = elimination_rounding(n, k);
        lgs::error_estimate = imbalance + rounding;
        lgs::error_bounds.assign(n + 1, 0.0);
        for (int i = 1; i <= n; ++i)
            lgs::error_bounds[i] = jacobi_change(i, lgs::a, lgs::ia, lgs::ja, lgs::nprob) +
                                   rounding * std::fabs(lgs::nprob[i]);
        if (DEBUG) print_error_estimate();
        if (imbalance <= lgs::epsilon) return 0;
    }
    refine(n, direct_prec);
    return 0;
}
