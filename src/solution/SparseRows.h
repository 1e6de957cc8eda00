// Small operations on a matrix in row-pointer form (1-based rows, columns and
// positions; row i at positions ia[i-1] .. ia[i]-1).
#pragma once

// The largest absolute row residual max_i |sum_j a_ij x_j| (x indexed 1..n).
double accuracy(int n, const double* a, const int* ia, const int* ja, const double* x);

// The largest relative imbalance max_i |sum_j a_ij x_j| / |a_ii x_i|: the
// relative change one Jacobi step would make to x_i, over the rows whose x_i
// is at least kNegligibleShare of the largest |x_j|. A row without imbalance
// counts 0 whatever x_i; one with an imbalance and no diagonal entry counts
// infinity.
double relative_imbalance(int n, const double* a, const int* ia, const int* ja, const double* x);

// The change one Jacobi step would make to x_i: |sum_j a_ij x_j| / |a_ii|;
// 0 for a balanced row, infinity for an unbalanced one without diagonal.
double jacobi_change(int i, const double* a, const int* ia, const int* ja, const double* x);

// sum_j a_ij x_j for one row.
double row_product(int i, const double* a, const int* ia, const int* ja, const double* x);

// The SHOW_LGS listing of rows first..last, one line per row.
void print_rows(int first, int last, const double* a, const int* ia, const int* ja);
