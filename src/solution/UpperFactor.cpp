// Values and columns have their own capacities: rows of a run share their
// columns, so far fewer columns than values are stored. The limit counts
// entries of U; the values may pass it by the holes they hold.
#include "solution/UpperFactor.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

// Grows a 1-based array of `capacity` + 1 elements to hold `needed`,
// doubling up to `limit`, beyond it by an eighth.
template <class T>
bool grow(T** array, long& capacity, long needed, long limit)
{
    if (needed <= capacity) return true;
    long ceiling = std::max(limit, needed + needed / 8);
    long wanted = std::max(needed, std::min(2 * capacity, ceiling));
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
      holes_in_(n + 2, 0),
      value_capacity_(std::min(storage, limit)),
      column_capacity_(std::min(storage, limit)),
      limit_(limit)
{
    iu_[1] = 1;
}

bool UpperFactor::Reserve(long values, long columns)
{
    if (!grow(u_, value_capacity_, values, limit_) ||
        !grow(ju_, column_capacity_, columns, limit_))
        return false;
    std::size_t words = static_cast<std::size_t>(value_capacity_ >> 6) + 1;
    if (hole_bits_.size() < words) hole_bits_.resize(words, 0);
    return true;
}

void UpperFactor::StartRow(int s)
{
    list_[s] = static_cast<int>(columns_) + 1;
    first_[s] = last_[s] = s;
}

void UpperFactor::Compact(int s)
{
    if (holes_in_[s] == 0) return;
    double* u = *u_;
    int* columns = *ju_ + list_[s];
    long begin = iu_[s], kept = begin;
    for (long at = begin; at <= values_; ++at) {
        if (IsHole(at)) {
            FlipHole(at);
            continue;
        }
        u[kept] = u[at];
        columns[kept - begin] = columns[at - begin];
        ++kept;
    }
    columns_ -= values_ + 1 - kept;
    values_ = kept - 1;
    iu_[s + 1] = static_cast<int>(kept);
    holes_in_[s] = 0;
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
            long offset = iu_[row] + (before - row);
            std::swap(u[offset], u[offset + at]);
            if (holes_in_[row] != 0 && IsHole(offset) != IsHole(offset + at)) {
                FlipHole(offset);
                FlipHole(offset + at);
            }
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
