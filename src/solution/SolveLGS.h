// The linear solver of the embedded Markov chain: reads the chain files of
// `model` in TmpDir, solves pi (P - I) = 0 with sum pi = 1 directly or by
// relaxation, and turns the result into the steady-state vector.
#pragma once

#include <vector>

// The steady-state probabilities of the last solution: entry k - 1 belongs to
// state k. Replaced by every call of SolveLGS.
extern double* pi_vector;
// Entry k - 1: a bound of the absolute error of pi_vector[k - 1], when the
// solver estimated its error per state; empty otherwise.
extern std::vector<double> pi_error;
// With pi_error from an iteration, per step of the solver's last steps the
// signed direction of the error of each entry of pi_vector: a sum of
// probabilities errs by about the sum of these, which can cancel where the
// bounds of pi_error cannot. Empty otherwise.
extern std::vector<std::vector<double>> pi_error_steps;

// mode "-a": direct solution first, relaxation as fallback and refinement;
// "-i": relaxation only. Returns only on success; errors end the process
// with status 1.
void SolveLGS(const char* mode, const char* model, int maxiter, double epsilon);

// Chooses and runs the solution method; the solution ends in lgs::nprob.
void derive_solution();

// The SHOW_LGS statistics of the matrix.
void print_sta();
