#include "solution/DenseRow.h"

bool DenseRow::Load(const int* ia, const int* ja, const double* a, int i, double rhs)
{
    for (int e = ia[i - 1]; e < ia[i]; ++e) {
        if (held_[ja[e]]) return false;
        held_[ja[e]] = 1;
        values_[ja[e]] = a[e];
    }
    rhs_ = rhs;
    return true;
}

void DenseRow::ReduceBy(const UpperFactor& U, int steps, const int* c, const double* y)
{
    const double* u = U.Values();
    for (int j = 1; j <= steps; ++j) {
        int pivot = c[j];
        if (!held_[pivot]) continue;
        double factor = -values_[pivot];
        values_[pivot] = 0.0;
        held_[pivot] = 0;
        rhs_ += factor * y[j];
        const int* columns = U.ColumnsOf(j);
        int begin = U.Begin(j), width = U.End(j) - begin;
        bool holed = false;
        U.Holes(j, [&](int offset) {
            if (!holed) hole_.assign(width, 0);
            holed = true;
            hole_[offset] = 1;
        });
        for (int t = 0; t < width; ++t) {
            values_[columns[t]] += factor * u[begin + t];
            if (!holed || !hole_[t]) held_[columns[t]] = 1;
        }
    }
}
