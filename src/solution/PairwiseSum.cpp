// Pairwise (cascade) summation; runs of up to 64 terms are summed plainly,
// which keeps the recursion shallow and the inner loop vectorisable.
#include "solution/PairwiseSum.h"

double pairwise_sum(const double* v, long count)
{
    if (count <= 64) {
        double sum = 0.0;
        for (long i = 0; i < count; ++i) sum += v[i];
        return sum;
    }
    long half = count / 2;
    return pairwise_sum(v, half) + pairwise_sum(v + half, count - half);
}
