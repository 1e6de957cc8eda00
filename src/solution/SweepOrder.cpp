// Breadth-first search over the rows' columns from state 1, restarted at the
// lowest state not reached while any is left; the visit order reversed.
#include "solution/SweepOrder.h"

#include <cmath>

SweepOrder::SweepOrder(int n, const ScaledMatrix& s) : n(n), state(n + 1, 0), position(n + 1, 0)
{
    int found = 0;
    for (int start = 1; start <= n; ++start) {
        if (position[start]) continue;
        position[start] = ++found;
        state[found] = start;
        for (int next = found; next <= found; ++next) {
            int i = state[next];
            for (int e = s.ia[i - 1]; e < s.ia[i]; ++e) {
                int j = s.ja[e];
                if (position[j]) continue;
                position[j] = ++found;
                state[found] = j;
            }
        }
    }
    for (int r = 1; r <= n; ++r) state[r] = 0;
    for (int i = 1; i <= n; ++i) {
        position[i] = n + 1 - position[i];
        state[position[i]] = i;
    }
}

double SweepOrder::UpdatedShare(const ScaledMatrix& s, const double* x, bool reordered) const
{
    double updated = 0.0, total = 0.0;
    for (int i = 1; i <= n; ++i)
        for (int e = s.ia[i - 1]; e < s.ia[i]; ++e) {
            int j = s.ja[e];
            double inflow = std::fabs(s.a[e] * x[j]);
            total += inflow;
            if (reordered ? position[j] < position[i] : j < i) updated += inflow;
        }
    return total > 0.0 ? updated / total : 0.0;
}

void SweepOrder::Reorder(const ScaledMatrix& s, Matrix& into) const
{
    into.ia.assign(n + 1, 0);
    into.ja.assign(s.ia[n], 0);
    into.a.assign(s.ia[n], 0.0);
    into.d.assign(n + 1, 0.0);
    into.ia[0] = 1;
    int stored = 1;
    for (int r = 1; r <= n; ++r) {
        int i = state[r];
        for (int e = s.ia[i - 1]; e < s.ia[i]; ++e, ++stored) {
            into.ja[stored] = position[s.ja[e]];
            into.a[stored] = s.a[e];
        }
        into.ia[r] = stored;
        into.d[r] = s.d[i];
    }
    into.view = ScaledMatrix();
    into.view.ia = into.ia.data();
    into.view.ja = into.ja.data();
    into.view.a = into.a.data();
    into.view.d = into.d.data();
}

void SweepOrder::ToOrder(const double* x, double* into) const
{
    for (int r = 1; r <= n; ++r) into[r] = x[state[r]];
}

void SweepOrder::FromOrder(const double* x, double* into) const
{
    for (int r = 1; r <= n; ++r) into[state[r]] = x[r];
}
