#include "ChainFixture.h"

#include "solution/ChainDepth.h"
#include "solution/ErrorEstimate.h"
#include "solution/OverRelaxationTrial.h"
#include "solution/IterationSettings.h"
#include "solution/SolveLGS.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <sstream>

namespace {

// A birth-death chain of the embedded kind: state i (1..n) moves up with
// probability up[i] and down with 1 - up[i] (the ends reflect), each visit
// lasting one time unit. Detailed balance gives pi_{i+1} / pi_i =
// up[i] / (1 - up[i+1]).
struct BirthDeath {
    std::vector<double> up;     // up[1..n]; up[n] is unused
    std::vector<double> times = {};  // the mean visit of each state (0-based), 1 when empty

    void Write(const ChainFixture& f) const
    {
        std::uint32_t n = static_cast<std::uint32_t>(up.size()) - 1;
        std::vector<ChainRow> rows;
        for (std::uint32_t i = 1; i <= n; ++i) {
            ChainRow row{i, {}};
            if (i == 1)
                row.entries = {{1.0, 2}};
            else if (i == n)
                row.entries = {{1.0, n - 1}};
            else
                row.entries = {{up[i], i + 1}, {1.0 - up[i], i - 1}};
            rows.push_back(row);
        }
        f.WriteAux(static_cast<int>(n));
        f.WriteRows(".EMC00", rows);
        f.WriteSojournTimes(times.empty() ? std::vector<double>(n, 1.0) : times);
    }

    std::vector<double> Exact() const
    {
        std::size_t n = up.size() - 1;
        auto down = [&](std::size_t i) { return i == n ? 1.0 : 1.0 - up[i]; };
        std::vector<double> pi(n, 1.0);
        for (std::size_t i = 1; i < n; ++i)
            pi[i] = pi[i - 1] * (i == 1 ? 1.0 : up[i]) / down(i + 1);
        for (std::size_t i = 0; i < times.size(); ++i) pi[i] *= times[i];
        double total = 0.0;
        for (double p : pi) total += p;
        for (double& p : pi) p /= total;
        return pi;
    }
};

// Two halves of equal birth-death states joined by one weak link in the
// middle: a nearly decomposable chain whose slow mode (the mass moving
// between the halves) plain relaxation reduces only by about the coupling
// per sweep.
BirthDeath weakly_coupled(int half, double coupling)
{
    BirthDeath chain{std::vector<double>(2 * half + 1, 0.5)};
    chain.up[half] = coupling;
    chain.up[half + 1] = 1.0 - coupling;
    return chain;
}

double largest_relative_error(const std::vector<double>& got, const std::vector<double>& want)
{
    double largest = 0.0;
    for (std::size_t i = 0; i < want.size(); ++i)
        largest = std::max(largest, std::fabs(got[i] - want[i]) / want[i]);
    return largest;
}

// The largest relative error of the probabilities above 1e-12 of the largest
// (not a number when one of them is not).
double largest_significant_error(const std::vector<double>& got, const std::vector<double>& want)
{
    double floor = 1e-12 * *std::max_element(want.begin(), want.end());
    double largest = 0.0;
    for (std::size_t i = 0; i < want.size(); ++i) {
        double error = std::fabs(got[i] - want[i]) / want[i];
        if (want[i] > floor && !(error <= largest)) largest = error;
    }
    return largest;
}

// Solves with the per-user file `plenar` and -v on, its messages in f.out.
std::vector<double> solve_verbosely(ChainFixture& f, const std::string& plenar, const char* mode,
                                    int maxiter, double required)
{
    f.WritePlenar(plenar);
    DEBUG = 1;
    std::vector<double> pi = f.Solve(mode, maxiter, required);
    DEBUG = 0;
    return pi;
}

// The estimate the solver printed, or -1.
double printed_estimate(const std::string& out)
{
    std::size_t at = out.find("estimated relative error: ");
    return at == std::string::npos ? -1.0 : std::atof(out.c_str() + at + 26);
}

class EachMethod : public ChainFixture, public testing::WithParamInterface<const char*> {
protected:
    // Solves iteratively with the method of the parameter, stopped on the
    // estimated error, and returns the real error; the estimate must bound it
    // whether the iteration converged or not (the conversion to time-based
    // probabilities adding at most a factor two, rounding a few units in the
    // last places of the chain's conditioning).
    double SolveAndCheck(const BirthDeath& chain, double required, int maxiter, bool& converged)
    {
        chain.Write(*this);
        WritePlenar(std::string("ITERATION ") + GetParam() + "\nSTOP TEST ERROR\n");
        DEBUG = 1;
        std::vector<double> pi = Solve("-i", maxiter, required);
        DEBUG = 0;
        double error = largest_relative_error(pi, chain.Exact());
        double estimate = printed_estimate(out);
        converged = out.find("no convergence") == std::string::npos;
        EXPECT_EQ(converged, estimate < required) << out;
        EXPECT_LE(error, 2 * std::max(estimate, 1e-12)) << out;
        return error;
    }
};

TEST_P(EachMethod, BirthDeathChainToItsClosedForm)
{
    BirthDeath chain{{0, 0, 0.3, 0.45, 0.6, 0.2, 0.7, 0.5, 0.4, 0}};
    bool converged = false;
    EXPECT_LT(SolveAndCheck(chain, 1e-12, 100000, converged), 1e-11);
    EXPECT_TRUE(converged) << out;
}

TEST_P(EachMethod, CyclicChainToItsClosedForm)
{
    // 1 -> 2 -> ... -> 6 -> 1 with sojourn times 1..6: a periodic embedded
    // chain (Jacobi without damping would oscillate) whose states are
    // visited equally often, so pi_i = i / 21.
    WriteAux(6);
    std::vector<ChainRow> rows;
    for (std::uint32_t i = 1; i <= 6; ++i) rows.push_back({i, {{1.0, i % 6 + 1}}});
    WriteRows(".EMC00", rows);
    WriteSojournTimes({1, 2, 3, 4, 5, 6});
    WritePlenar(std::string("ITERATION ") + GetParam() + "\nSTOP TEST ERROR\n");
    std::vector<double> pi = Solve("-i", 100000, 1e-12);
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(pi[i], (i + 1) / 21.0, 1e-11) << out;
}

TEST_P(EachMethod, NearlyDecomposableChainIsNotStoppedEarly)
{
    // Relaxation may need far more sweeps than it is given here; what it
    // must not do is claim an accuracy it does not have. The Krylov method
    // gets there.
    bool krylov = std::string(GetParam()) == "BICGSTAB";
    for (double required : {1e-6, 1e-9}) {
        bool converged = false;
        double error = SolveAndCheck(weakly_coupled(20, 1e-4), required, 20000, converged);
        EXPECT_TRUE(converged || !krylov) << out;
        EXPECT_TRUE(error < required || !converged) << error << "\n" << out;
    }
}

// The largest over the solver's error directions of the weighted sum
// sum_i w(i) d_i, as a measure forms it.
double largest_along(const std::function<double(std::size_t)>& weight)
{
    double largest = 0.0;
    for (const std::vector<double>& direction : pi_error_steps) {
        double sum = 0.0;
        for (std::size_t i = 0; i < direction.size(); ++i) sum += weight(i) * direction[i];
        largest = std::max(largest, std::fabs(sum));
    }
    return largest;
}

TEST_P(EachMethod, StateErrorBoundsCoverTheErrorOfSums)
{
    // Sums of probabilities as measures form them: the first half's
    // probability and the mean state number, against their closed forms;
    // both by the states' bounds and along the error directions of the
    // last steps, where the states' errors can cancel.
    // Unequal visit times make the normalisation of the time-based
    // probabilities part of the error. (On a nearly decomposable chain the
    // bounds can fall short: a run that starts afresh near the solution,
    // after a failed over-relaxation, reads its rate from components that
    // die fast while the slow one hardly changes.)
    BirthDeath uneven{{0, 0, 0.3, 0.45, 0.6, 0.2, 0.7, 0.5, 0.4, 0}, {1, 3, 0.5, 2, 1, 4, 1, 0.2, 2}};
    BirthDeath longer{std::vector<double>(31, 0.45), std::vector<double>(30, 1.0)};
    for (int i = 0; i < 30; ++i) longer.times[i] = 1.0 + i % 3;
    for (const BirthDeath& chain : {uneven, longer}) {
        std::vector<double> exact = chain.Exact();
        std::size_t n = exact.size();
        for (double required : {1e-6, 1e-9, 1e-11}) {
            chain.Write(*this);
            WritePlenar(std::string("ITERATION ") + GetParam() + "\nSTOP TEST ERROR\n");
            std::vector<double> pi = Solve("-i", 100000, required);
            ASSERT_EQ(pi_error.size(), n) << out;
            ASSERT_EQ(pi_error_steps.size(), 2u) << out;
            double half = 0.0, half_bound = 0.0, mean = 0.0, mean_bound = 0.0;
            double exact_half = 0.0, exact_mean = 0.0;
            for (std::size_t i = 0; i < n; ++i) {
                if (i < n / 2) {
                    half += pi[i] - exact[i];
                    half_bound += pi_error[i];
                    exact_half += exact[i];
                }
                mean += (i + 1) * (pi[i] - exact[i]);
                mean_bound += (i + 1) * pi_error[i];
                exact_mean += (i + 1) * exact[i];
            }
            // Rounding: the closed form's products of up to 30 ratios, and
            // the floor of a few 1e-14 that BiCGSTAB reaches on the longer
            // chain, where its bounds are rounding noise.
            EXPECT_LE(std::fabs(half), half_bound + 1e-13 * exact_half) << required << "\n" << out;
            EXPECT_LE(std::fabs(mean), mean_bound + 1e-13 * exact_mean) << required << "\n" << out;
            double half_along = largest_along([&](std::size_t i) { return i < n / 2 ? 1.0 : 0.0; });
            double mean_along = largest_along([](std::size_t i) { return i + 1.0; });
            EXPECT_LE(std::fabs(half), half_along + 1e-13 * exact_half) << required << "\n" << out;
            EXPECT_LE(std::fabs(mean), mean_along + 1e-13 * exact_mean) << required << "\n" << out;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, EachMethod,
                         testing::Values("JACOBI", "GAUSS-SEIDEL", "GAUSS-SEIDEL BACKWARD",
                                         "SOR 1.2", "SOR AUTO", "BICGSTAB"));

using IterativeMethods = ChainFixture;

TEST_F(IterativeMethods, NoStateErrorBoundsWithoutAnEstimate)
{
    BirthDeath{{0, 0, 0.3, 0.45, 0}}.Write(*this);
    WritePlenar("ITERATION GAUSS-SEIDEL\n");
    Solve("-i", 100000, 1e-12);
    EXPECT_TRUE(pi_error.empty()) << out;
}

TEST_F(IterativeMethods, ResidualStopOfTheRelaxationStallsOnAWeakCoupling)
{
    // The reason for the error estimate: stopped on its absolute residual,
    // the relaxation ends with an error far above the accuracy it reports.
    BirthDeath chain = weakly_coupled(20, 1e-4);
    chain.Write(*this);
    DEBUG = 1;
    std::vector<double> pi = Solve("-i", 200000, 1e-9);
    DEBUG = 0;
    EXPECT_GT(largest_relative_error(pi, chain.Exact()), 1e-6) << out;
    EXPECT_EQ(out.find("estimated relative error"), std::string::npos) << out;
}

TEST_F(IterativeMethods, OverRelaxationThatOnlyRescalesGoesOnAsGaussSeidel)
{
    // On this chain SOR with factor 1.5 has an eigenvalue near -0.73 beyond
    // the 1 of the solution: the normalised iterate settles on its
    // eigenvector and stops changing although it does not balance. The run
    // must see that its changes do not shrink and reach the solution as
    // Gauss-Seidel.
    const std::vector<ChainRow> rows = {{1, {{1.0, 2}}},
                                        {2, {{1.0, 4}}},
                                        {3, {{0.44, 5}, {0.56, 6}}},
                                        {4, {{0.12, 5}, {0.88, 6}}},
                                        {5, {{0.39, 1}, {0.61, 6}}},
                                        {6, {{0.57, 3}, {0.43, 4}}}};
    WriteAux(6);
    WriteRows(".EMC00", rows);
    WriteSojournTimes(std::vector<double>(6, 1.0));
    std::vector<double> pi = solve_verbosely(*this, "ITERATION SOR 1.5\nSTOP TEST ERROR\n", "-i", 2000, 1e-9);
    std::vector<double> inflow(6, 0.0);
    for (const ChainRow& row : rows)
        for (const auto& [p, target] : row.entries) inflow[target - 1] += pi[row.row - 1] * p;
    double imbalance = 0.0;
    for (int i = 0; i < 6; ++i) imbalance = std::max(imbalance, std::fabs(inflow[i] / pi[i] - 1));
    EXPECT_NE(out.find("going on with GAUSS-SEIDEL"), std::string::npos) << out;
    EXPECT_EQ(out.find("no convergence"), std::string::npos) << out;
    EXPECT_LT(imbalance, 1e-8) << out;
}

TEST_F(IterativeMethods, NegligibleTailDoesNotHoldUpAnAccurateElimination)
{
    // A line of 10,000 states whose probabilities fall by 1 % a state, down
    // to 1e-44: elimination along the line is exact to rounding, and the
    // tail far below the largest probability, which carries no relative
    // accuracy, must neither make the result look inaccurate nor send it to
    // a refinement that cannot end. The rounding, carried along the line,
    // grows with the distance; the estimate and the state bounds count it.
    BirthDeath line{std::vector<double>(10001, 1.0 / 2.01)};
    line.Write(*this);
    std::vector<double> pi = solve_verbosely(*this, "ITERATION GAUSS-SEIDEL\nSTOP TEST ERROR\n", "-a", 2000, 1e-9);
    EXPECT_EQ(out.find("refinement"), std::string::npos) << out;
    double estimate = printed_estimate(out);
    std::vector<double> exact = line.Exact();
    double error = largest_significant_error(pi, exact);
    EXPECT_LT(error, 1e-10);
    EXPECT_LE(error, estimate) << out;
    EXPECT_LT(estimate, 1e-9) << out;
    ASSERT_EQ(pi_error.size(), exact.size());
    double mean = 0.0, bound = 0.0;
    for (std::size_t i = 0; i < exact.size(); ++i) {
        mean += i * (pi[i] - exact[i]);
        bound += i * pi_error[i];
    }
    EXPECT_LE(std::fabs(mean), bound);
    EXPECT_LE(bound, 1e3 * std::fabs(mean));
}

TEST_F(IterativeMethods, NegligibleTailDoesNotHoldUpTheSweeps)
{
    // Probabilities falling by a factor 0.43 a state: beyond the 45th they
    // are below 1e-15 of the largest, and the sweeps must stop once the
    // states that matter are right (after some 900 sweeps from a uniform
    // start; the last states' relative changes alone would need 1,500).
    BirthDeath line{std::vector<double>(301, 0.3)};
    line.Write(*this);
    WritePlenar("ITERATION GAUSS-SEIDEL\nSTOP TEST ERROR\n");
    std::vector<double> pi = Solve("-i", 1200, 1e-9);
    EXPECT_EQ(out.find("no convergence"), std::string::npos) << out;
    EXPECT_LT(largest_significant_error(pi, line.Exact()), 1e-9);
}

TEST_F(IterativeMethods, DivergingOverRelaxationGoesOnAsGaussSeidel)
{
    // An infinite-server station: m tokens served at rate k when k wait,
    // returned one at a time at rate 2, so that k waiting tokens have the
    // Poisson probability e^-2 2^k / k!; state 1 has all m waiting, as a
    // graph from the initial marking numbers them. Over-relaxation from the
    // uniform start diverges (components of 1e10 of either sign within 100
    // sweeps); the run must go back to its last sound iterate and go on as
    // Gauss-Seidel, and never return what is not a number.
    const std::uint32_t m = 8000;
    auto state = [&](std::uint32_t k) { return m + 1 - k; };
    std::vector<ChainRow> rows;
    std::vector<double> times;
    for (std::uint32_t k = m + 1; k-- > 0;) {
        double up = k < m ? 2.0 : 0.0, down = k;
        ChainRow row{state(k), {}};
        if (up > 0) row.entries.push_back({up / (up + down), state(k + 1)});
        if (down > 0) row.entries.push_back({down / (up + down), state(k - 1)});
        rows.push_back(row);
        times.push_back(1.0 / (up + down));
    }
    WriteAux(m + 1);
    WriteRows(".EMC00", rows);
    WriteSojournTimes(times);
    std::vector<double> pi = solve_verbosely(*this, "ITERATION SOR 1.2\nSTOP TEST ERROR\n", "-i", 2000, 1e-9);
    EXPECT_NE(out.find("going on with GAUSS-SEIDEL"), std::string::npos) << out;
    EXPECT_EQ(out.find("no convergence"), std::string::npos) << out;
    std::vector<double> poisson(m + 1);
    for (std::uint32_t k = 0; k <= m; ++k)
        poisson[state(k) - 1] = std::exp(-2.0 + k * std::log(2.0) - std::lgamma(k + 1.0));
    EXPECT_LT(largest_significant_error(pi, poisson), 1e-9);
}

// A walk on a k x k grid, moving right at rate 1, left at 1.1, up at 1 and
// down at 1.2 (blocked at the edges): reversible, so that the time spent in
// (i, j) is proportional to (1 / 1.1)^i (1 / 1.2)^j. State i k + j + 1.
struct GridWalk {
    std::uint32_t k;

    void Write(ChainFixture& f) const
    {
        std::vector<ChainRow> rows;
        std::vector<double> times;
        for (std::uint32_t i = 0; i < k; ++i)
            for (std::uint32_t j = 0; j < k; ++j) {
                std::vector<std::pair<double, std::uint32_t>> moves;
                if (i + 1 < k) moves.push_back({1.0, (i + 1) * k + j + 1});
                if (i > 0) moves.push_back({1.1, (i - 1) * k + j + 1});
                if (j + 1 < k) moves.push_back({1.0, i * k + j + 2});
                if (j > 0) moves.push_back({1.2, i * k + j});
                double total = 0.0;
                for (const auto& move : moves) total += move.first;
                for (auto& move : moves) move.first /= total;
                rows.push_back({i * k + j + 1, moves});
                times.push_back(1.0 / total);
            }
        f.WriteAux(static_cast<int>(k * k));
        f.WriteRows(".EMC00", rows);
        f.WriteSojournTimes(times);
    }

    std::vector<double> Exact() const
    {
        std::vector<double> pi;
        double total = 0.0;
        for (std::uint32_t i = 0; i < k; ++i)
            for (std::uint32_t j = 0; j < k; ++j) {
                pi.push_back(std::pow(1.1, -double(i)) * std::pow(1.2, -double(j)));
                total += pi.back();
            }
        for (double& p : pi) p /= total;
        return pi;
    }
};

TEST_F(IterativeMethods, AutomaticOverRelaxationIsKeptWhereItIsFaster)
{
    // On the grid over-relaxation converges faster (Gauss-Seidel alone takes
    // 3,125 sweeps, half as many again) and is kept as soon as its trial
    // ends, without a second phase of Gauss-Seidel to compare.
    GridWalk grid{30};
    grid.Write(*this);
    std::vector<double> pi = solve_verbosely(*this, "ITERATION SOR AUTO\nSTOP TEST ERROR\n", "-i", 5000, 1e-9);
    EXPECT_NE(out.find("trying SOR 1.2 after 60 iterations"), std::string::npos) << out;
    EXPECT_NE(out.find("going on with SOR 1.2 after 120 iterations"), std::string::npos) << out;
    EXPECT_EQ(out.find("no convergence"), std::string::npos) << out;
    EXPECT_LT(largest_significant_error(pi, grid.Exact()), 1e-9);
}

// A cycle run backwards, n -> n-1 -> ... -> 1 -> n, where state i stays
// put with probability 0.2 (odd i) or 0.6 (even i) at each step: it is
// visited in proportion to 1 / (1 - stay), 1.25 against 2.5.
void write_backward_cycle(ChainFixture& f, std::uint32_t n, std::vector<double>& exact)
{
    std::vector<ChainRow> rows;
    exact.clear();
    for (std::uint32_t i = 1; i <= n; ++i) {
        double stay = i % 2 ? 0.2 : 0.6;
        rows.push_back({i, {{stay, i}, {1.0 - stay, i == 1 ? n : i - 1}}});
        exact.push_back(1.0 / (1.0 - stay));
    }
    double total = 0.0;
    for (double p : exact) total += p;
    for (double& p : exact) p /= total;
    f.WriteAux(static_cast<int>(n));
    f.WriteRows(".EMC00", rows);
    f.WriteSojournTimes(std::vector<double>(n, 1.0));
}

TEST_F(IterativeMethods, AutomaticOrderSweepsWithTheFlow)
{
    // In the chain's own order a sweep reads each state's inflow before it
    // is updated (only state n reads it after), and Gauss-Seidel does not
    // converge in 100,000 sweeps; in the reverse breadth-first order, n down
    // to 1, each is read after, and the run converges as soon as it
    // switches, after its first two sweeps, long before the trial of
    // over-relaxation would begin.
    std::vector<double> exact;
    write_backward_cycle(*this, 400, exact);
    std::vector<double> pi =
        solve_verbosely(*this, "ITERATION SOR AUTO\nSTOP TEST ERROR\n", "-i", 1000, 1e-9);
    EXPECT_NE(out.find("sweeping in reverse breadth-first order after 2 iterations"),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find("trying SOR"), std::string::npos) << out;
    EXPECT_EQ(out.find("no convergence"), std::string::npos) << out;
    EXPECT_LT(largest_significant_error(pi, exact), 1e-9) << out;
}

TEST(OverRelaxationTrial, KeepsTheMethodWhoseChangesShrinkFaster)
{
    // Gauss-Seidel's changes shrink by `first` a sweep at first (by 0.8 over
    // the first half of its phase where `first` is a pair) and by 0.9 once
    // the fast modes are gone; over-relaxation at `trial_rate` throughout.
    auto decide = [](double first_early, double first_late, double trial_rate) {
        OverRelaxationTrial trial(true);
        ErrorEstimate estimate;
        double change = 1.0;
        std::vector<OverRelaxationTrial::Verdict> verdicts;
        for (int phase = 0; phase < 3; ++phase)
            for (int k = 0; k < OverRelaxationTrial::kSweeps; ++k) {
                double rate = phase == 1 ? trial_rate
                              : phase == 2 ? 0.9
                              : k < OverRelaxationTrial::kSweeps / 2 ? first_early
                                                                      : first_late;
                change *= rate;
                estimate.Record(change, change);
                OverRelaxationTrial::Verdict verdict = trial.After(estimate);
                if (verdict != OverRelaxationTrial::Verdict::kGoOn) {
                    verdicts.push_back(verdict);
                    estimate = ErrorEstimate();
                }
            }
        return verdicts;
    };
    using V = OverRelaxationTrial::Verdict;
    // 0.85 loses against the first sweeps of Gauss-Seidel but wins against
    // its later ones, which are what the rest of the run would get.
    EXPECT_EQ(decide(0.8, 0.8, 0.85), (std::vector<V>{V::kTry, V::kCompare, V::kAdopt}));
    EXPECT_EQ(decide(0.8, 0.8, 0.95), (std::vector<V>{V::kTry, V::kCompare, V::kGaussSeidel}));
    // Faster than even the first sweeps of Gauss-Seidel: kept at once.
    EXPECT_EQ(decide(0.8, 0.8, 0.75), (std::vector<V>{V::kTry, V::kKeep}));
    // Gauss-Seidel slowed down to 0.88 within its first phase: the trial
    // is measured against that, not against the phase's mean of 0.84.
    EXPECT_EQ(decide(0.8, 0.88, 0.86), (std::vector<V>{V::kTry, V::kKeep}));
    EXPECT_EQ(decide(0.8, 0.88, 0.89), (std::vector<V>{V::kTry, V::kCompare, V::kAdopt}));
    // Without AUTO nothing is tried.
    OverRelaxationTrial none(false);
    ErrorEstimate estimate;
    for (int k = 1; k <= 3 * OverRelaxationTrial::kSweeps; ++k) {
        estimate.Record(std::pow(0.9, k), std::pow(0.9, k));
        EXPECT_EQ(none.After(estimate), V::kGoOn);
    }
}

TEST(ErrorEstimate, DividesTheChangeByOneMinusTheObservedRate)
{
    ErrorEstimate geometric;
    double estimate = 0.0;
    for (int k = 1; k <= 60; ++k) {
        estimate = geometric.Record(std::pow(0.9, k), std::pow(0.9, k));
        if (k < ErrorEstimate::kFirstTrusted) {
            EXPECT_TRUE(std::isinf(estimate)) << k;
        }
    }
    EXPECT_NEAR(geometric.Rate(), 0.9, 1e-12);
    EXPECT_NEAR(estimate, std::pow(0.9, 60) / 0.1, 1e-12);

    // A change that does not shrink gives no bound; one that vanishes is a
    // fixed point; rounding noise keeps the last rate.
    ErrorEstimate stalled;
    for (int k = 1; k <= 20; ++k) estimate = stalled.Record(1e-3, 1e-3);
    EXPECT_TRUE(std::isinf(estimate));
    EXPECT_EQ(stalled.Record(0.0, 0.0), 0.0);
    EXPECT_NEAR(geometric.Record(1e-16, 1e-16), 1e-15, 1e-20);
    ErrorEstimate from_a_solution;
    EXPECT_EQ(from_a_solution.Record(3e-16, 3e-16), 3e-16);
    EXPECT_TRUE(std::isinf(from_a_solution.Record(std::nan(""), std::nan(""))));
}

TEST(ErrorEstimate, ExtrapolatesWithTheRecentRateWhenTheChangesSlowDown)
{
    // Fast components die first: the changes halve for 20 steps, then
    // shrink by 0.95. The rate over the whole window (which the trial of
    // over-relaxation compares) still remembers the fast steps; the
    // remaining error is that of the slow ones.
    ErrorEstimate slowing;
    double change = 1.0, estimate = 0.0;
    for (int k = 1; k <= 45; ++k) {
        change *= k <= 20 ? 0.5 : 0.95;
        estimate = slowing.Record(change, change);
    }
    EXPECT_NEAR(slowing.Rate(), std::pow(std::pow(0.5, 19) * std::pow(0.95, 25), 1.0 / 44), 1e-12);
    EXPECT_NEAR(slowing.BoundingRate(), 0.95, 1e-12);
    EXPECT_NEAR(estimate, change / 0.05, 1e-9 * estimate);
}

TEST(ErrorEstimate, ExtrapolatesWithTheTotalChangeWhereItShrinksSlower)
{
    // The largest relative change (in small probabilities) shrinks by 0.9 a
    // step, the total of the changes (mass moving between large groups of
    // states) by 0.99: the error left is the slow one's. The rate that
    // over-relaxation's trial compares stays that of the largest change.
    ErrorEstimate hiding;
    double change = 1.0, moved = 1e-6, estimate = 0.0;
    for (int k = 1; k <= 60; ++k) {
        change *= 0.9;
        moved *= 0.99;
        estimate = hiding.Record(change, moved);
    }
    EXPECT_NEAR(hiding.Rate(), 0.9, 1e-12);
    EXPECT_NEAR(hiding.BoundingRate(), 0.99, 1e-12);
    EXPECT_NEAR(estimate, change / 0.01, 1e-9 * estimate);
    // Once the total is rounding noise its last rate stays in force.
    estimate = hiding.Record(change * 0.9, 1e-16);
    EXPECT_NEAR(hiding.BoundingRate(), 0.99, 1e-12);
    EXPECT_NEAR(estimate, change * 0.9 / 0.01, 1e-9 * estimate);
}

TEST(ErrorEstimate, GivesNoBoundWhileTheChangesDecayOntoAFloor)
{
    // Fast components shrinking by 0.9 a step over one that shrinks by
    // 0.99999 (a weak coupling): read while the fast ones dominate, the rate
    // would promise an error near the change's, where the slow component
    // alone leaves 0.1. Once it alone changes, its rate is read.
    ErrorEstimate floored;
    auto change = [](int k) { return std::pow(0.9, k) + 1e-6 * std::pow(0.99999, k); };
    double estimate = 0.0;
    for (int k = 1; k <= 300; ++k) {
        estimate = floored.Record(change(k), change(k));
        if (k >= 100 && k <= 150) {
            EXPECT_TRUE(std::isinf(estimate)) << k;
        }
    }
    EXPECT_NEAR(estimate, change(300) / 1e-5, 0.1 * estimate);
}

TEST(IterationSettings, LinesOfThePerUserFile)
{
    auto parse = [](const std::string& text, std::string* complaints = nullptr) {
        IterationSettings settings;
        std::istringstream file(text);
        std::string said;
        ParseIterationSettings(file, settings, said);
        if (complaints) *complaints = said;
        return settings;
    };
    IterationSettings plain = parse("HOSTLISTSTART\nITERATIONS\nHOSTLISTEND\n");
    EXPECT_EQ(plain.method, IterationMethod::kJacobi);
    EXPECT_FALSE(plain.error_stop);

    IterationSettings sor = parse(
        "iteration sor 1.4 backward\nSTOP TEST ERROR\n"
        "DIRECT MEMORY 512\nDIRECT WORK 2e9\n");
    EXPECT_EQ(sor.method, IterationMethod::kGaussSeidel);
    EXPECT_EQ(sor.omega, 1.4);
    EXPECT_TRUE(sor.backward);
    EXPECT_TRUE(sor.error_stop);
    EXPECT_EQ(sor.direct_memory_mb, 512.0);
    EXPECT_EQ(sor.direct_work, 2e9);
    EXPECT_EQ(iteration_method_name(sor), "SOR 1.4 BACKWARD");
    EXPECT_EQ(iteration_method_name(parse("ITERATION BICGSTAB\n")), "BICGSTAB");
    IterationSettings trial = parse("ITERATION SOR auto BACKWARD\n");
    EXPECT_TRUE(trial.trial);
    EXPECT_EQ(trial.omega, 1.2);
    EXPECT_EQ(iteration_method_name(trial), "SOR AUTO BACKWARD");
    EXPECT_FALSE(parse("ITERATION SOR AUTO\nITERATION SOR 1.5\n").trial);

    // Unreadable values keep what was there and are named.
    std::string complaints;
    IterationSettings kept = parse(
        "ITERATION BICGSTAB\nITERATION SOR 2\nITERATION SOR AUTO 1.2\nITERATION JACOBI BACKWARD\n"
        "STOP TEST SOON\n"
        "DIRECT MEMORY -5\nDIRECT WORK lots\n",
        &complaints);
    EXPECT_EQ(kept.method, IterationMethod::kBicgstab);
    EXPECT_FALSE(kept.error_stop);
    EXPECT_EQ(kept.direct_memory_mb, 0.0);
    EXPECT_EQ(kept.direct_work, 0.0);
    for (const char* line : {"ITERATION SOR 2", "ITERATION SOR AUTO 1.2",
                             "ITERATION JACOBI BACKWARD", "STOP TEST SOON",
                             "DIRECT MEMORY -5", "DIRECT WORK lots"})
        EXPECT_NE(complaints.find(std::string("'") + line + "'"), std::string::npos) << line;
}

}  // namespace

namespace {

// The number after `key` in the solver's output, or -1.
double printed_after(const std::string& out, const std::string& key)
{
    std::size_t at = out.find(key);
    return at == std::string::npos ? -1.0 : std::atof(out.c_str() + at + key.size());
}

using EliminationForecastTest = ChainFixture;

// The forecast assumes diagonal pivots; the pivot rule may choose others
// (on a birth-death chain it does, doubling U), so it is held to a factor.
void expect_forecast_near_the_real_fill(const std::string& out)
{
    double forecast = printed_after(out, "forecast of the elimination: ");
    double real = printed_after(out, "number of off-diagonal elements of U: ");
    EXPECT_GT(forecast, 0.0) << out;
    EXPECT_LE(real, 2.5 * forecast) << out;
    EXPECT_GE(real, forecast / 2.5) << out;
}

TEST_F(EliminationForecastTest, ForecastsTheFillOfTheElimination)
{
    // A birth-death chain (a tridiagonal pattern, no fill when the ends go
    // first and the diagonal is the pivot) and an irregular chain.
    BirthDeath line{std::vector<double>(41, 0.4)};
    line.Write(*this);
    DEBUG = 1;
    Solve("-a", 100000, 1e-12);
    expect_forecast_near_the_real_fill(out);

    const std::uint32_t n = 400;
    std::vector<ChainRow> rows;
    TestRandom random{7};
    for (std::uint32_t i = 1; i <= n; ++i) {
        ChainRow row{i, {{0.5, i % n + 1}}};
        for (std::uint32_t k = 0; k < 2; ++k) row.entries.push_back({0.25, 1 + random.Next(n)});
        rows.push_back(row);
    }
    WriteAux(n);
    WriteRows(".EMC00", rows);
    WriteSojournTimes(std::vector<double>(n, 1.0));
    Solve("-a", 100000, 1e-12);
    DEBUG = 0;
    expect_forecast_near_the_real_fill(out);
}

TEST_F(EliminationForecastTest, AWorkBudgetSendsTheChainToTheIterationAtOnce)
{
    BirthDeath chain{std::vector<double>(41, 0.4)};
    chain.Write(*this);
    std::vector<double> pi = solve_verbosely(*this, "DIRECT WORK 1\n", "-a", 100000, 1e-14);
    EXPECT_NE(out.find("multiply-adds (beyond the budget)\n"
                       "\n\t\t not enough memory for direct solution found.\n"
                       "\t\t retry with iterative solution\n"),
              std::string::npos)
        << out;
    EXPECT_LT(largest_relative_error(pi, chain.Exact()), 1e-7);
}

}  // namespace

TEST(ChainDepth, StepsFromOneStateToTheFarthest)
{
    // Rows hold the states that lead to a state (1-based positions): the
    // line 1 - 2 - 3 - 4 - 5 both ways, and a star around state 1.
    const int line_ia[] = {1, 2, 4, 6, 8, 9};
    const int line_ja[] = {0, 2, 1, 3, 2, 4, 3, 5, 4};
    EXPECT_EQ(chain_depth(5, line_ia, line_ja, 5), 4);
    EXPECT_EQ(chain_depth(5, line_ia, line_ja, 3), 2);
    const int star_ia[] = {1, 4, 5, 6, 7};
    const int star_ja[] = {0, 2, 3, 4, 1, 1, 1};
    EXPECT_EQ(chain_depth(4, star_ia, star_ja, 1), 1);
    EXPECT_EQ(chain_depth(4, star_ia, star_ja, 2), 2);
}
