// A small square system in 1-based row-pointer form and one elimination of
// it by the direct solver's row-by-row scheme, shared by the tests of the
// elimination and of its forecast.
#pragma once

#include "solution/Nspiv.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <random>
#include <vector>

namespace {

// A square system in row-pointer form with the work arrays of one
// elimination, all 1-based.
struct System {
    explicit System(int n) : n(n), ia{1}, ja{0}, a{0.0} {}

    void AddRow(const std::map<int, double>& row)
    {
        for (auto [column, value] : row) {
            ja.push_back(column);
            a.push_back(value);
        }
        ia.push_back(static_cast<int>(a.size()));
    }

    // Eliminates with the rows in `order` (1..n when empty).
    int Solve(int k, double droptol = 0.0, std::vector<int> order = {})
    {
        if (order.empty())
            for (int i = 1; i <= n; ++i) order.push_back(i);
        order.insert(order.begin(), 0);
        c.assign(n + 1, 0);
        ic.assign(n + 1, 0);
        for (int i = 1; i <= n; ++i) c[i] = ic[i] = i;
        x.assign(n + 1, 0.0);
        std::vector<double> y(n + 1);
        std::vector<int> iu(n + 2), p(2 * (n + 1));
        long storage = 2;
        int* ju = static_cast<int*>(std::malloc((storage + 1) * sizeof(int)));
        double* u = static_cast<double*>(std::malloc((storage + 1) * sizeof(double)));
        int code = 0;
        dnspiv1_mod(n, ia.data(), ja.data(), a.data(), k, storage, order.data(), c.data(),
                    ic.data(), x.data(), y.data(), iu.data(), p.data(), &ju, &u, droptol, &dropped,
                    &code);
        std::free(ju);
        std::free(u);
        return code;
    }

    // max_i |(A x - e_k)_i|
    double Residual(int k) const
    {
        double largest = 0.0;
        for (int i = 1; i <= n; ++i) {
            double sum = i == k ? -1.0 : 0.0;
            for (int e = ia[i - 1]; e < ia[i]; ++e) sum += a[e] * x[ja[e]];
            largest = std::max(largest, std::fabs(sum));
        }
        return largest;
    }

    int n;
    std::vector<int> ia, ja, c, ic;
    std::vector<double> a, x;
    int dropped = 0;
};

}  // namespace
