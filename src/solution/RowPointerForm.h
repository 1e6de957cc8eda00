// The row-pointer form built from counted rows: pointers from the counts,
// then entries of one row and column summed into one.
#pragma once

// Turns ptr[i] = the number of entries of row i (1..n) into the first
// position of row i, so that filling row i at ptr[i]++ leaves ptr as the
// row pointers (ptr[0] = 1). Answers the number of entries.
long rows_from_counts(int n, int* ptr);

// Sums the entries of each row that share a column, keeping the first
// occurrence's place and order, closes the gaps, sets lgs::nonnull and gives
// back the room no longer used.
void sum_repeated_columns(int n, int* ptr, int** column, double** value);
