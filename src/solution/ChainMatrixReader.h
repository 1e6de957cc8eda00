// Reading the EMC files 00, 01, ... straight into the row-pointer form of
// A = (P - I) transposed, the form every solver works on.
#pragma once

// Fills lgs::nonnull, lgs::min_ci and lgs::abs_min and allocates the arrays:
// *ia the n + 1 row pointers (row i at positions ia[i-1] .. ia[i]-1), *ja the
// columns and *a the values at positions 1..nonnull.
void read_chain_rows(const char* model, double** a, int** ia, int** ja);

// The SHOW_LGS listings of the matrix as the files hold it: the
// probabilities, then the stored form P - I, row by row of P.
void print_p_matrix(const char* model);
