// Reading the EMC files 00, 01, ... into one coordinate matrix P - I.
#pragma once

// Fills lgs::nonnull, lgs::min_ci and lgs::abs_min; the arrays are
// allocated here (positions 1..nonnull: value, ia = column, ja = row).
void read_p_matrix(const char* model, double** a, int** ia, int** ja);

// The SHOW_LGS listings of the matrix as read: the probabilities, then the
// stored form P - I.
void print_p_matrix(const double* a, const int* ia, const int* ja);
