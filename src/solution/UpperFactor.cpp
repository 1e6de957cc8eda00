// Values and columns have their own capacities: rows of a run share their
// columns, so far fewer columns than values are stored.
#include "solution/UpperFactor.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

// Grows a 1-based array of `capacity` + 1 elements to hold `needed`,
// doubling, within the limit.
template <class T>
bool grow(T** array, long& capacity, long needed, long limit)
{
    if (needed <= capacity) return true;
    if (needed > limit) return false;
    long wanted = std::min(limit, std::max(needed, 2 * capacity));
    T* grown = static_cast<T*>(std::realloc(*array, static_cast<std::size_t>(wanted + 1) * sizeof(T)));
    if (!grown) return false;
    *array = grown;
    capacity = wanted;
    return true;
}

}  // namespace

UpperFactor::UpperFactor(int n, int* iu, int** ju, double** u, long storage, long limit)
    : iu_(iu),
      ju_(ju),
      u_(u),
      list_(n + 2),
      first_(n + 2),
      last_(n + 2),
      listed_by_(n + 1, 0),
      value_capacity_(std::min(storage, limit)),
      column_capacity_(std::min(storage, limit)),
      limit_(limit)
{
    iu_[1] = 1;
}

bool UpperFactor::Reserve(long values, long columns)
{
    return grow(u_, value_capacity_, values, limit_) &&
           grow(ju_, column_capacity_, columns, limit_);
}

void UpperFactor::StartRow(int s)
{
    list_[s] = static_cast<int>(columns_) + 1;
    first_[s] = last_[s] = s;
}

void UpperFactor::JoinRun(int s, int pivot)
{
    int before = s - 1;
    int first = first_[before];
    int* columns = *ju_ + list_[before];
    double* u = *u_;
    int width = iu_[s] - iu_[before];
    int at = static_cast<int>(std::find(columns, columns + width, pivot) - columns);
    if (at != 0) {
        std::swap(columns[0], columns[at]);
        // Row `row` of the run starts (before - row) columns earlier.
        for (int row = first; row <= before; ++row) {
            int offset = iu_[row] + (before - row);
            std::swap(u[offset], u[offset + at]);
        }
    }
    list_[s] = list_[before] + 1;
    first_[s] = first;
    last_[first] = s;
}

void UpperFactor::Substitute(int n, const int* c, const int* ic, double* y, double* x) const
{
    const double* u = *u_;
    for (int s = n; s >= 1; --s) {
        double value = y[s];
        const int* columns = ColumnsOf(s);
        for (int e = iu_[s]; e < iu_[s + 1]; ++e) value -= u[e] * y[ic[columns[e - iu_[s]]]];
        y[s] = value;
        x[c[s]] = value;
    }
}
