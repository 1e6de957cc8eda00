// Omega = E[e^(QT)] and Psi = E[integral_0^T e^(Qt) dt] of small chains
// against closed forms: one state (scalars), two states through the
// eigenvalues of Q, and for exponential-type firing times through resolvents
// (I - Q)^-1, all derived by hand.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "workers/DistributionCheck.h"
#include "workers/StepWeights.h"
#include "workers/TransientRows.h"
#include "workers/UniformizedChain.h"

namespace {

using Matrix = std::array<std::array<double, 2>, 2>;

constexpr std::uint32_t kOutside = 100;

// A chain of states 1.. with in-chain rates rates[i][j] and rates out of the
// chain leaving[i] (to a state outside).
SubordinatedChain MakeChain(const std::vector<std::vector<double>>& rates,
                            const std::vector<double>& leaving)
{
    SubordinatedChain chain;
    chain.firstState = 1;
    chain.states.resize(leaving.size());
    for (std::size_t i = 0; i < leaving.size(); ++i) {
        ChainState& s = chain.states[i];
        for (std::size_t j = 0; j < leaving.size(); ++j)
            if (rates[i][j] > 0.0)
                s.moves.push_back({static_cast<std::uint32_t>(j + 1), rates[i][j]});
        if (leaving[i] > 0.0) s.moves.push_back({kOutside, leaving[i]});
        for (const ChainMove& m : s.moves) s.exitRate += m.value;
        s.firing.push_back({kOutside, 1.0});
    }
    return chain;
}

struct Integrals {
    std::vector<std::vector<double>> omega, psi;
};

Integrals Compute(const SubordinatedChain& chain, const Distribution& firing, double epsilon,
                  double pruneBudget = 0.0)
{
    const UniformizedChain u(chain, 1.0);
    StepWeights weights;
    std::string error;
    EXPECT_TRUE(ComputeStepWeights(firing, u.rate, epsilon, weights, error)) << error;
    TransientRows rows(u.step, weights, pruneBudget);
    const std::size_t n = chain.states.size();
    Integrals result{std::vector<std::vector<double>>(n, std::vector<double>(n, 0.0)),
                     std::vector<std::vector<double>>(n, std::vector<double>(n, 0.0))};
    for (std::uint32_t r = 0; r < n; ++r) {
        rows.Compute(r);
        for (std::uint32_t k : rows.Reached()) {
            result.omega[r][k] = rows.Omega(k);
            result.psi[r][k] = rows.Psi(k);
        }
    }
    return result;
}

Distribution Load(const std::string& text)
{
    Distribution d;
    std::string error;
    EXPECT_TRUE(LoadDistribution(text, d, error)) << text << ": " << error;
    return d;
}

void ExpectNear(const Integrals& got, const Matrix& omega, const Matrix& psi, double tolerance)
{
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            EXPECT_NEAR(got.omega[i][j], omega[i][j], tolerance) << "Omega " << i << j;
            EXPECT_NEAR(got.psi[i][j], psi[i][j], tolerance * (1.0 + std::fabs(psi[i][j])))
                << "Psi " << i << j;
        }
    }
}

// For Q with distinct real eigenvalues l1, l2 and any f analytic on them:
// f(Q) = (f(l1) (Q - l2 I) - f(l2) (Q - l1 I)) / (l1 - l2).
template <class F>
Matrix Function(const Matrix& q, F f)
{
    const double trace = q[0][0] + q[1][1];
    const double det = q[0][0] * q[1][1] - q[0][1] * q[1][0];
    const double root = std::sqrt(trace * trace / 4.0 - det);
    const double l1 = trace / 2.0 + root, l2 = trace / 2.0 - root;
    Matrix m{};
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) {
            const double id = i == j ? 1.0 : 0.0;
            m[i][j] = (f(l1) * (q[i][j] - l2 * id) - f(l2) * (q[i][j] - l1 * id)) / (l1 - l2);
        }
    return m;
}

class OneState : public ::testing::TestWithParam<double> {};

TEST_P(OneState, DeterministicDelayGivesExponentialDecayAndItsIntegral)
{
    const double q = GetParam();
    const double tau = 0.8;
    const Integrals got = Compute(MakeChain({{0.0}}, {q}), FixedDelay(tau), 1e-12);
    EXPECT_NEAR(got.omega[0][0], std::exp(-q * tau), 1e-11);
    EXPECT_NEAR(got.psi[0][0] * q / (1.0 - std::exp(-q * tau)), 1.0, 1e-11);
}

INSTANTIATE_TEST_SUITE_P(FromSlowToStiff, OneState,
                         ::testing::Values(1e-3, 0.5, 4.0, 60.0, 1.25e4, 2e5));

TEST(Transient, TwoStateCycleMatchesEigenvalueClosedForm)
{
    // 1 -> 2 at 3.0, 2 -> 1 at 1.5, leaving at 0.4 and 0.9.
    const Matrix q{{{-3.4, 3.0}, {1.5, -2.4}}};
    for (const double tau : {0.05, 1.0, 7.5, 400.0}) {
        const Integrals got =
            Compute(MakeChain({{0.0, 3.0}, {1.5, 0.0}}, {0.4, 0.9}), FixedDelay(tau), 1e-12);
        const Matrix omega = Function(q, [&](double l) { return std::exp(l * tau); });
        const Matrix psi = Function(q, [&](double l) { return std::expm1(l * tau) / l; });
        ExpectNear(got, omega, psi, 1e-10);
    }
}

TEST(Transient, StatesWithoutMovesKeepTheirMass)
{
    // No exponential move at all: Omega = I, Psi = tau I.
    const Integrals got =
        Compute(MakeChain({{0.0, 0.0}, {0.0, 0.0}}, {0.0, 0.0}), FixedDelay(2.5), 1e-12);
    ExpectNear(got, {{{1.0, 0.0}, {0.0, 1.0}}}, {{{2.5, 0.0}, {0.0, 2.5}}}, 1e-12);
}

TEST(Transient, PointMassTextEqualsFixedDelay)
{
    const SubordinatedChain chain = MakeChain({{0.0, 3.0}, {1.5, 0.0}}, {0.4, 0.9});
    const Integrals fixed = Compute(chain, FixedDelay(0.8), 1e-10);
    const Integrals general = Compute(chain, Load("I[0.8]"), 1e-10);
    EXPECT_EQ(fixed.omega, general.omega);
    EXPECT_EQ(fixed.psi, general.psi);
}

// For firing times with a rational Laplace transform the integrals are
// resolvents: with R(s) = (sI - Q)^-1,
//   Erlang-2 rate 1 (x e^-x):  Omega = R(1)^2,     Psi = R(1) + R(1)^2;
//   exponential rate 2:        Omega = 2 R(2),     Psi = R(2).
Matrix Resolvent(const Matrix& q, double s)
{
    return Function(q, [&](double l) { return 1.0 / (s - l); });
}

Matrix Times(const Matrix& a, const Matrix& b)
{
    Matrix m{};
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) m[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j];
    return m;
}

TEST(Transient, ErlangAndExponentialFiringTimesMatchTheirResolventForms)
{
    const Matrix q{{{-3.4, 3.0}, {1.5, -2.4}}};
    const SubordinatedChain chain = MakeChain({{0.0, 3.0}, {1.5, 0.0}}, {0.4, 0.9});
    const Matrix r1 = Resolvent(q, 1.0), r2 = Resolvent(q, 2.0), r1r1 = Times(r1, r1);
    Matrix erlangPsi{}, exponentialOmega{};
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) {
            erlangPsi[i][j] = r1[i][j] + r1r1[i][j];
            exponentialOmega[i][j] = 2.0 * r2[i][j];
        }
    ExpectNear(Compute(chain, Load("x*e^(-x)"), 1e-12), r1r1, erlangPsi, 1e-10);
    ExpectNear(Compute(chain, Load("2*e^(-2*x)"), 1e-12), exponentialOmega, r2, 1e-10);
}

TEST(Transient, BoundedAndMixedFiringTimesOnOneState)
{
    const double q = 1.7;
    struct Case {
        const char* text;
        double omega;  // E[e^-qT]
        double psi;    // E[(1 - e^-qT)] / q
    };
    const double e = std::exp(1.0);
    const Case cases[] = {
        {"R[0,2]*0.5", -std::expm1(-2.0 * q) / (2.0 * q), 0.0},
        {"0.3*I[1]+0.7*I[2]", 0.3 * std::exp(-q) + 0.7 * std::exp(-2.0 * q), 0.0},
        {"R[1,3]*0.25*x",
         0.25 * ((1.0 + q) * std::exp(-q) - (1.0 + 3.0 * q) * std::exp(-3.0 * q)) / (q * q), 0.0},
        // Density e^x / (e - 1) on [0, 1]: a growing exponential.
        {"R[0,1]*0.5819767068693265*e^(x)", -std::expm1(1.0 - q) / ((q - 1.0) * (e - 1.0)), 0.0},
    };
    for (Case c : cases) {
        c.psi = (1.0 - c.omega) / q;
        const Integrals got = Compute(MakeChain({{0.0}}, {q}), Load(c.text), 1e-12);
        EXPECT_NEAR(got.omega[0][0], c.omega, 1e-10) << c.text;
        EXPECT_NEAR(got.psi[0][0], c.psi, 1e-10) << c.text;
    }
}

TEST(Transient, TruncationMeetsEpsilon)
{
    // A loose epsilon gives fewer steps but still errors within it.
    const Matrix q{{{-3.4, 3.0}, {1.5, -2.4}}};
    const double tau = 2.0;
    for (const double epsilon : {1e-3, 1e-6, 1e-9}) {
        const Integrals got =
            Compute(MakeChain({{0.0, 3.0}, {1.5, 0.0}}, {0.4, 0.9}), FixedDelay(tau), epsilon);
        const Matrix omega = Function(q, [&](double l) { return std::exp(l * tau); });
        const Matrix psi = Function(q, [&](double l) { return std::expm1(l * tau) / l; });
        for (int i = 0; i < 2; ++i) {
            EXPECT_LE(
                std::fabs(got.omega[i][0] - omega[i][0]) + std::fabs(got.omega[i][1] - omega[i][1]),
                epsilon);
            EXPECT_LE(std::fabs(got.psi[i][0] - psi[i][0]) + std::fabs(got.psi[i][1] - psi[i][1]),
                      epsilon * tau);
        }
    }
}

TEST(Transient, PruningStaysWithinItsBudget)
{
    // A long path with moves to both neighbours: rows spread diffusively and
    // their fringe is what pruning removes.
    const int n = 300;
    std::vector<std::vector<double>> rates(n, std::vector<double>(n, 0.0));
    for (int i = 0; i + 1 < n; ++i) rates[i][i + 1] = rates[i + 1][i] = 20.0;
    const SubordinatedChain chain = MakeChain(rates, std::vector<double>(n, 1.0));
    const double budget = 1e-8, tau = 2.0;
    const Integrals exact = Compute(chain, FixedDelay(tau), 1e-12);
    const Integrals pruned = Compute(chain, FixedDelay(tau), 1e-12, budget);
    int prunedRows = 0;
    for (int r = 0; r < n; ++r) {
        double omega = 0.0, psi = 0.0, reach = 0.0;
        for (int k = 0; k < n; ++k) {
            omega += std::fabs(exact.omega[r][k] - pruned.omega[r][k]);
            psi += std::fabs(exact.psi[r][k] - pruned.psi[r][k]);
            reach += pruned.psi[r][k] == 0.0 && exact.psi[r][k] != 0.0;
        }
        EXPECT_LE(omega, budget) << r;
        EXPECT_LE(psi, budget * tau) << r;
        prunedRows += reach > 0;
    }
    EXPECT_GT(prunedRows, n / 2);  // the fringe did go
}

}  // namespace
