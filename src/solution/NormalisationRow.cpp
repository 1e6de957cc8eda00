// Exchange of one row of the row-pointer matrix for the normalisation row and
// back. The rows behind it move within the arrays and their pointers shift by
// the difference in length.
#include "solution/NormalisationRow.h"

#include "solution/SolveLGSState.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Gives row k the length `length`, moving the rows behind it; the arrays
// must hold the resulting number of entries.
void resize_row(int k, int length)
{
    int n = lgs::toptan;
    int begin = lgs::ia[k - 1];
    int old_end = lgs::ia[k];
    int shift = begin + length - old_end;
    int tail = lgs::nonnull + 1 - old_end;
    std::memmove(lgs::a + old_end + shift, lgs::a + old_end, tail * sizeof(double));
    std::memmove(lgs::ja + old_end + shift, lgs::ja + old_end, tail * sizeof(int));
    for (int i = k; i <= n; ++i) lgs::ia[i] += shift;
    lgs::nonnull += shift;
}

template <class T>
bool grow(T*& array, int count, const char* failure)
{
    T* p = static_cast<T*>(std::realloc(array, count * sizeof(T)));
    if (!p) {
        std::perror(failure);
        return false;
    }
    array = p;
    return true;
}

}  // namespace

bool insert_normalisation_row(int k, KeptRow& kept)
{
    int n = lgs::toptan;
    int begin = lgs::ia[k - 1];
    kept.row = k;
    kept.length = lgs::ia[k] - begin;
    kept.values = static_cast<double*>(std::malloc((kept.length + 1) * sizeof(double)));
    kept.columns = static_cast<int*>(std::malloc((kept.length + 1) * sizeof(int)));
    // Room for both forms, so that neither exchange loses the tail.
    int needed = lgs::nonnull + (n > kept.length ? n - kept.length : 0) + 1;
    if (!kept.values || !kept.columns || !grow(lgs::a, needed, "\t\t realloc: no mem for a\n\n") ||
        !grow(lgs::ja, needed, "\t\t realloc: no mem for ja\n\n")) {
        std::free(kept.values);
        std::free(kept.columns);
        kept = KeptRow();
        return false;
    }
    std::memcpy(kept.values, lgs::a + begin, kept.length * sizeof(double));
    std::memcpy(kept.columns, lgs::ja + begin, kept.length * sizeof(int));
    resize_row(k, n);
    for (int j = 1; j <= n; ++j) {
        lgs::a[begin + j - 1] = 1.0;
        lgs::ja[begin + j - 1] = j;
    }
    return true;
}

void restore_row(KeptRow& kept)
{
    int begin = lgs::ia[kept.row - 1];
    resize_row(kept.row, kept.length);
    std::memcpy(lgs::a + begin, kept.values, kept.length * sizeof(double));
    std::memcpy(lgs::ja + begin, kept.columns, kept.length * sizeof(int));
    std::free(kept.values);
    std::free(kept.columns);
    kept = KeptRow();
}
