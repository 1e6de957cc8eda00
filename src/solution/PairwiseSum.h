// Sum of many doubles with an error that grows with the logarithm of their
// number instead of the number itself: a plain loop over a million
// probabilities of 1e-6 loses about 1e-10 relative, which is the floor under
// any accuracy asked of the solution.
#pragma once

// v[0] + ... + v[count - 1], summed pairwise over halves down to short runs.
double pairwise_sum(const double* v, long count);
