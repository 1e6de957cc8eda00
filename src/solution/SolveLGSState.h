// The module-wide state of the linear solver: one solver run at a time works
// on these arrays. Indices are 1-based throughout: state numbers, matrix
// positions (slot 0 of `a` and `ja` is unused) and the vectors `nprob`/`mprob`.
#pragma once

#include "solution/IterationSettings.h"

#include <vector>

namespace lgs {

extern int method;             // 0 iterative, 1 automatic (direct first)
extern int max_iter;           // iteration limit
extern double epsilon;         // required accuracy; the accuracy reached afterwards
extern double drop_tolerance;  // smallest magnitude kept in U by the direct solver
extern int drop_flag;          // 1 while a drop tolerance is in use
extern const char* model;      // name the chain files are derived from

extern int toptan;   // n, the number of tangible markings
extern int nonnull;  // stored matrix entries, positions 1..nonnull

// ia holds n + 1 row pointers of A = (P - I) transposed, row i occupying
// positions ia[i-1] .. ia[i]-1, and ja the columns.
extern double* a;
extern int* ia;
extern int* ja;

extern int* min_ci;     // per source state the smallest target seen (1..n)
extern int structure;   // 1 when the rows nearly follow an ordered profile
extern double* nprob;   // the solution of the embedded chain, 1..n
extern double* mprob;   // its time-weighted, unnormalised form, 1..n
extern double abs_min;  // smallest magnitude of a probability read

extern IterationSettings iteration;  // the per-user file's choice of method and stop test
extern double error_estimate;        // estimated relative error of nprob; < 0 when not estimated
// Per state (1..n) a bound of the absolute error of nprob[i], made together
// with error_estimate; empty when no estimate was made.
extern std::vector<double> error_bounds;
// With error_bounds from an iteration, per step they were taken from the
// signed error direction of each state (see IterationResult::error_steps).
extern std::vector<std::vector<double>> error_steps;

}  // namespace lgs
