// Dispatch to the chosen iteration. The chosen methods work on the scaled
// rows of A in A's own arrays, as the relaxation does, so that the chain is
// held once, and with the values coded where few are distinct (in A's
// storage of values, which the codes then own); a Krylov solution is followed by Gauss-Seidel steps, which turn
// its imbalance into an error estimate with an observed rate.
#include "solution/IterativeSolution.h"

#include "foundation/RunState.h"
#include "solution/CodedValues.h"
#include "solution/KrylovSolution.h"
#include "solution/Relaxation.h"
#include "solution/SolveLGSState.h"
#include "solution/StationaryIteration.h"

#include <cstdio>
#include <utility>

namespace {

bool specified_relaxation(const IterationSettings& settings)
{
    return settings.method == IterationMethod::kJacobi && !settings.error_stop;
}

}  // namespace

int iterate(int n, int* ia, int* ja, double*& a, double* x, int maxiter, double* eps, int nonnull)
{
    IterationSettings settings = lgs::iteration;
    lgs::error_estimate = -1.0;
    lgs::error_bounds.clear();
    lgs::error_steps.clear();
    if (specified_relaxation(settings)) return sor(n, ia, ja, a, x, maxiter, eps, nonnull);
    if (DEBUG)
        std::printf("\t\t iteration: %s, stopped on the %s\n",
                    iteration_method_name(settings).c_str(),
                    settings.error_stop ? "estimated relative error" : "largest residual");

    int spent = 0;
    if (settings.method == IterationMethod::kBicgstab) {
        spent = bicgstab(n, ia, ja, a, x, maxiter, *eps);
        if (spent < 0) return spent;
        settings.method = IterationMethod::kGaussSeidel;
        settings.omega = 1.0;
        settings.backward = false;
    }
    ScaledMatrix s;
    s.ja = ja;
    s.a = a;
    if (!scal(n, ia, ja, a, s)) {
        release(s);
        return -2;
    }
    if (code_values(n, s)) a = nullptr;  // its storage holds the codes now, s's
    IterationResult result = iterate_stationary(settings, n, s, x, maxiter - spent, *eps);
    release(s);
    *eps = result.residual;
    if (settings.error_stop) {
        lgs::error_estimate = result.estimate;
        lgs::error_bounds = std::move(result.error_bounds);
        lgs::error_steps = std::move(result.error_steps);
    }
    if (!result.converged) return -1;
    return spent + result.iterations;
}

void print_error_estimate()
{
    if (lgs::error_estimate >= 0.0)
        std::printf("\t\t estimated relative error: %g\n", lgs::error_estimate);
}
