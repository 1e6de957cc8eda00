// The inner loop of the row elimination's groups: a few rows of U added,
// with their factors, to the panel's values over a range of its columns.
// Compiled twice, for the machine's wide fused multiply-add where it has one
// and for any x86-64, and chosen once at start.
#pragma once

// For p in [from, to): values[targets[p] * rows + b] += factors[q * rows + b]
// * u[q][p] for q = 0 .. count - 1 in turn and each of the `rows` (8) rows b;
// count is 1 to 4.
void add_rows(double* values, const int* targets, int from, int to, const double* const* u,
              const double* factors, int count);
