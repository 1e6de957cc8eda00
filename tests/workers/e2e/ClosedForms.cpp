// Closed forms of the end-to-end chains.
#include "e2e/ClosedForms.h"

#include <cmath>

namespace {

double Poisson(int j, double mean)
{
    return std::exp(-mean + j * std::log(mean) - std::lgamma(j + 1.0));
}

// P(N > j) for N Poisson with the given mean.
double PoissonAbove(int j, double mean)
{
    double below = 0.0;
    for (int i = 0; i <= j; ++i) below += Poisson(i, mean);
    return 1.0 - below;
}

constexpr double kAlpha = 2.5, kRate56 = 2.0, kBeta = 1.5;

}  // namespace

ArrivalWeights DeterministicArrivals(double lambda, double tau)
{
    return {[=](int j) { return Poisson(j, lambda * tau); },
            [=](int j) { return PoissonAbove(j, lambda * tau) / lambda; }, tau};
}

ArrivalWeights UniformArrivals(double lambda, double upper)
{
    // a_j = integral of pois(j; lambda t) / upper over [0, upper]
    //     = P(N(lambda upper) > j) / (lambda upper);
    // c_j = integral of pois(j; lambda t) (1 - t / upper), with
    //       t pois(j; lambda t) = (j + 1) / lambda pois(j + 1; lambda t).
    const double m = lambda * upper;
    return {[=](int j) { return PoissonAbove(j, m) / m; },
            [=](int j) {
                return PoissonAbove(j, m) / lambda -
                       (j + 1.0) / (lambda * lambda * upper) * PoissonAbove(j + 1, m);
            },
            upper / 2.0};
}

TestChain QueueChain(int capacity, double lambda, std::uint32_t first, double tau)
{
    TestChain chain;
    chain.delay = tau;
    for (int n = 1; n <= capacity; ++n) {
        TestState s;
        s.state = first + n - 1;
        if (n < capacity) s.moves.push_back({s.state + 1, lambda, false});
        s.firing.emplace_back(n == 1 ? 1u : s.state - 1, 1.0);
        chain.members.push_back(s);
        chain.visiting.push_back(static_cast<std::size_t>(n - 1));
    }
    return chain;
}

void QueueRows(int capacity, std::uint32_t first, const ArrivalWeights& w, ChainRows& emc,
               ChainRows& conv)
{
    emc.clear();
    conv.clear();
    for (int n = 1; n <= capacity; ++n) {
        const unsigned row = first + n - 1;
        double arrivals = 0.0, time = 0.0;
        for (int j = 0; n + j < capacity; ++j) {
            const unsigned afterFiring = n + j == 1 ? 1u : row + j - 1;
            emc[row][afterFiring] = w.arrivals(j);
            conv[row][row + j] = w.time(j);
            arrivals += w.arrivals(j);
            time += w.time(j);
        }
        const unsigned full = first + capacity - 1;
        emc[row][capacity == 1 ? 1u : full - 1] = 1.0 - arrivals;
        conv[row][full] = w.meanFiring - time;
    }
}

TestChain PreemptedChain(int classNumber, double tau)
{
    TestChain chain;
    chain.classNumber = classNumber;
    chain.delay = tau;
    chain.members = {
        {6, {{2, 1.25, true}, {1, 0.25, true}}, {{5, 1.0}}},
        {5, {{6, kRate56, false}, {1, 0.5, true}}, {{1, 0.3}, {2, 0.7}}},
    };
    chain.visiting = {1, 0};  // entered at 5, listed after 6
    return chain;
}

TriangularIntegrals DeterministicIntegrals(double tau)
{
    const double ea = std::exp(-kAlpha * tau), eb = std::exp(-kBeta * tau);
    const double pa = (1.0 - ea) / kAlpha, pb = (1.0 - eb) / kBeta;
    const double k = kRate56 / (kAlpha - kBeta);
    return {{ea, k * (eb - ea), eb}, {pa, k * (pb - pa), pb}};
}

TriangularIntegrals ErlangTwoIntegrals()
{
    // M = (I - Q)^-1; Omega = M^2, Psi = M + M^2.
    const double ma = 1.0 / (1.0 + kAlpha), mb = 1.0 / (1.0 + kBeta);
    const double mab = kRate56 * ma * mb;
    const double omega[3] = {ma * ma, mab * (ma + mb), mb * mb};
    return {{omega[0], omega[1], omega[2]}, {ma + omega[0], mab + omega[1], mb + omega[2]}};
}

void PreemptedRows(const TriangularIntegrals& m, ChainRows& emc, ChainRows& conv)
{
    const double* o = m.omega;
    const double* p = m.psi;
    emc = {
        {5, {{1, 0.3 * o[0] + 0.5 * p[0] + 0.25 * p[1]}, {2, 0.7 * o[0] + 1.25 * p[1]}, {5, o[1]}}},
        {6, {{1, 0.25 * p[2]}, {2, 1.25 * p[2]}, {5, o[2]}}}};
    conv = {{5, {{5, p[0]}, {6, p[1]}}}, {6, {{6, p[2]}}}};
}
