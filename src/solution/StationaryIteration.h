// Stationary iterations on the scaled balance equations x_i = -(S x)_i, all
// rows kept, the normalisation imposed by scaling the iterate to sum 1 after
// every step: damped Jacobi with the adaptive factor, and Gauss-Seidel/SOR
// forwards or backwards.
#pragma once

#include "solution/IterationSettings.h"
#include "solution/Relaxation.h"

#include <vector>

struct IterationResult {
    int iterations = 0;
    bool converged = false;
    double residual = 0.0;  // the largest absolute residual of A x at the end
    double estimate = 0.0;  // the estimated relative error at the end
    // On convergence, per state (1..n) a bound of x_i's absolute error: the
    // change of one more step divided by one minus the rate. Empty otherwise.
    std::vector<double> error_bounds;
    // With the bounds, per step they were taken from the signed change of
    // each state (1..n) times the same extrapolation: the direction of the
    // remaining error, in which a sum of probabilities can cancel.
    std::vector<std::vector<double>> error_steps;
};

// Iterates x (1..n, positive start values, any scale) on s, which holds all n
// scaled rows, until the stop test of `settings` falls below `required` or
// `maxiter` steps are made. x ends normalised, in the chain's numbering; s
// may end renumbered into a better sweep order (SOR AUTO), ready for
// release().
IterationResult iterate_stationary(const IterationSettings& settings, int n, ScaledMatrix& s,
                                   double* x, int maxiter, double required);

// The largest absolute residual |d_i (x_i + (S x)_i)| over the rows of s.
double scaled_residual(int n, const ScaledMatrix& s, const double* x);
