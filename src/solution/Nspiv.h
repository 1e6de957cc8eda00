// Row-by-row sparse Gaussian elimination with column pivoting (the NSPIV
// scheme of ACM TOMS Algorithm 533) for A x = e_k, extended by a drop
// tolerance for U and by storage for U that grows on demand up to a limit.
#pragma once

#include <cstddef>

// The most memory the off-diagonal entries of U may take; exceeding it counts
// as running out of storage. 0 selects the default, a sixteenth of the
// physical memory.
extern std::size_t direct_storage_limit;

// The off-diagonal entries of U that fit the limit.
long direct_storage_entries();

// Rows are processed in the order r[1..n]; c/ic (1..n) are the column order
// and its inverse, updated by the pivoting; x receives the solution (1..n);
// y (1..n) and iu (1..n+1) are work arrays, p one of 2 (n + 1) ints, zeroed. *ju and
// *u hold `storage` + 1 entries and may be reallocated. *code is the number
// of stored entries of U (at least 1) on success, otherwise -s for an empty
// row at step s, -(n + s) for a duplicate column, -(2n + s) for a row
// without entries left to pivot on, -(3n + s) when U outgrew its storage.
void dnspiv1_mod(int n, const int* ia, const int* ja, const double* a, int k, long storage,
                 const int* r, int* c, int* ic, double* x, double* y, int* iu, int* p, int** ju,
                 double** u, double droptol, int* num_drop, int* code);
