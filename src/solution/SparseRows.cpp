// Residuals and listings of row-pointer matrices.
#include "solution/SparseRows.h"

#include "solution/ErrorEstimate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

double row_product(int i, const double* a, const int* ia, const int* ja, const double* x)
{
    double sum = 0.0;
    for (int e = ia[i - 1]; e < ia[i]; ++e) sum += a[e] * x[ja[e]];
    return sum;
}

double accuracy(int n, const double* a, const int* ia, const int* ja, const double* x)
{
    double largest = 0.0;
    for (int i = 1; i <= n; ++i) {
        double residual = std::fabs(row_product(i, a, ia, ja, x));
        if (std::isnan(residual)) return residual;
        if (residual > largest) largest = residual;
    }
    return largest;
}

double jacobi_change(int i, const double* a, const int* ia, const int* ja, const double* x)
{
    double sum = 0.0, diagonal = 0.0;
    for (int e = ia[i - 1]; e < ia[i]; ++e) {
        sum += a[e] * x[ja[e]];
        if (ja[e] == i) diagonal += a[e];
    }
    return sum == 0.0 ? 0.0 : std::fabs(sum) / std::fabs(diagonal);
}

double relative_imbalance(int n, const double* a, const int* ia, const int* ja, const double* x)
{
    double biggest = 0.0;
    for (int i = 1; i <= n; ++i) biggest = std::max(biggest, std::fabs(x[i]));
    const double floor = kNegligibleShare * biggest;
    double largest = 0.0;
    for (int i = 1; i <= n; ++i) {
        if (std::fabs(x[i]) < floor) continue;
        double change = jacobi_change(i, a, ia, ja, x);
        if (change == 0.0) continue;
        double imbalance = change / std::fabs(x[i]);
        if (!(imbalance <= largest)) largest = imbalance;
    }
    return largest;
}

void print_rows(int first, int last, const double* a, const int* ia, const int* ja)
{
    for (int i = first; i <= last; ++i) {
        std::printf("\t\t %d :", i);
        for (int e = ia[i - 1]; e < ia[i]; ++e) std::printf(" (%d) %g", ja[e], a[e]);
        std::printf("\n");
    }
}
