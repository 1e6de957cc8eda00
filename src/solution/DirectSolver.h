// The direct solution of the balance equations: sparse Gaussian elimination
// with a drop tolerance, refined by relaxation when not accurate enough.
#pragma once

// 0 when the solution is in lgs::nprob; 1 when memory ran out (the caller
// then iterates instead). Matrix errors end the run.
int derive_direct_solution();

// The highest row number, counting down from n, whose row has more than one
// entry; -1 when there is none.
int get_nrnbr(int n, const int* ia);

// Orders rows by their number of entries (for sorting the row order).
int compare(const int* first, const int* second);
