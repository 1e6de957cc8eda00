// The iterative method the per-user file chose, behind the interface of the
// relaxation: without a choice it is the damped Jacobi relaxation itself.
#pragma once

// As sor(): iterates x (1..n) on A in row-pointer form, whose arrays ja and a
// are overwritten (a chosen method may free a and set it to null once it
// holds the values in a smaller form); returns the iterations on
// convergence, -1 when maxiter was reached, -2 for a matrix that cannot be
// iterated; *eps holds the required accuracy on entry and the largest
// absolute residual reached on return. Sets lgs::error_estimate when the
// method estimates its error, and lgs::error_bounds when it also converged.
int iterate(int n, int* ia, int* ja, double*& a, double* x, int maxiter, double* eps, int nonnull);

// The line "\t\t estimated relative error: %g\n" when an estimate was made.
void print_error_estimate();
