// The panel's rows are summed in vectors of two (SSE2, every x86-64) or four
// (AVX2 with FMA); each row of U is added in turn, as row by row.
#include "solution/PanelKernel.h"

#include "solution/RowPanel.h"

#include <cstddef>

namespace {

constexpr int kRows = RowPanel::kRows;

// Vectors of two and four rows' values, loaded and stored at a double's
// alignment (the attribute does not pass through an alias template).
typedef double Pair __attribute__((vector_size(2 * sizeof(double)), aligned(sizeof(double)),
                                   may_alias));
typedef double Quad __attribute__((vector_size(4 * sizeof(double)), aligned(sizeof(double)),
                                   may_alias));
template <int kWidth>
struct LaneOf;
template <>
struct LaneOf<2> {
    using type = Pair;
};
template <>
struct LaneOf<4> {
    using type = Quad;
};

template <int kWidth, int kCount>
inline __attribute__((always_inline)) void add(double* __restrict values,
                                               const int* __restrict targets, int from, int to,
                                               const double* const* u,
                                               const double* __restrict factors)
{
    using V = typename LaneOf<kWidth>::type;
    static_assert(sizeof(V) == kWidth * sizeof(double));
    constexpr int kLanes = kRows / kWidth;
    static_assert(kRows % kWidth == 0);
    V f[kCount][kLanes];
    for (int q = 0; q < kCount; ++q)
        for (int l = 0; l < kLanes; ++l)
            f[q][l] = *reinterpret_cast<const V*>(factors + q * kRows + l * kWidth);
    for (int p = from; p < to; ++p) {
        V* v = reinterpret_cast<V*>(values + static_cast<std::size_t>(targets[p]) * kRows);
        for (int l = 0; l < kLanes; ++l) {
            V sum = v[l];
            for (int q = 0; q < kCount; ++q) sum += f[q][l] * u[q][p];
            v[l] = sum;
        }
    }
}

template <int kWidth>
inline __attribute__((always_inline)) void add_count(double* values, const int* targets, int from,
                                                     int to, const double* const* u,
                                                     const double* factors, int count)
{
    switch (count) {
    case 4: add<kWidth, 4>(values, targets, from, to, u, factors); break;
    case 3: add<kWidth, 3>(values, targets, from, to, u, factors); break;
    case 2: add<kWidth, 2>(values, targets, from, to, u, factors); break;
    default: add<kWidth, 1>(values, targets, from, to, u, factors); break;
    }
}

void add_any_x86(double* values, const int* targets, int from, int to, const double* const* u,
                 const double* factors, int count)
{
    add_count<2>(values, targets, from, to, u, factors, count);
}

__attribute__((target("avx2,fma"))) void add_fused(double* values, const int* targets, int from,
                                                    int to, const double* const* u,
                                                    const double* factors, int count)
{
    add_count<4>(values, targets, from, to, u, factors, count);
}

using Kernel = void (*)(double*, const int*, int, int, const double* const*, const double*, int);

Kernel chosen_kernel()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") ? add_fused
                                                                          : add_any_x86;
}

const Kernel kernel = chosen_kernel();

}  // namespace

void add_rows(double* values, const int* targets, int from, int to, const double* const* u,
              const double* factors, int count)
{
    kernel(values, targets, from, to, u, factors, count);
}
