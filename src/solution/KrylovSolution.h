// BiCGSTAB with an incomplete-LU preconditioner for the balance equations,
// on the chain's matrix A in row-pointer form.
#pragma once

// Brings x (1..n) towards the solution of A x = 0, sum x = 1, until the
// largest relative imbalance |(A x)_i| / (|a_ii| x_i) is below `required`
// or `maxiter` iterations are spent; returns the iterations spent, -2 when
// the last row has no diagonal entry (after the solver's message). A's
// arrays are borrowed and given back unchanged; x ends normalised.
int bicgstab(int n, int* ia, int* ja, double* a, double* x, int maxiter, double required);
