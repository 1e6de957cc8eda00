// Arrays of the solver's matrices and vectors: malloc'd, since release() and
// the solver's state free them with free(); running out of memory ends the
// run with the solver's own report.
#pragma once

#include "solution/SolverMessages.h"

#include <cstddef>
#include <cstdlib>

template <class T>
T* allocate(std::size_t count, const char* failure)
{
    T* p = static_cast<T*>(std::malloc(count * sizeof(T)));
    if (!p) fail_with_perror(failure);
    return p;
}
