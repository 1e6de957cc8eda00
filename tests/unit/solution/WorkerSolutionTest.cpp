// Whole solutions through the real worker programs, on graphs built the way
// the examination leaves them, against closed forms: the M/D/1/K queue, a
// deterministic delay preempted by a failure, and an EDSPN whose general
// chain is numbered after the deterministic one. The workers must have been built
// beside this test; without them the tests are skipped.
#include "solution/SolveLGS.h"
#include "solution/SolveNetModel.h"

#include "HandGraph.h"
#include "WorkerFixture.h"
#include "netmodel/Registries.h"
#include "netmodel/Textual.h"

#include <cmath>
#include <vector>

namespace {

namespace fs = std::filesystem;

class WorkerSolutionTest : public WorkerFixture {
protected:
    void SetUp() override
    {
        WorkerFixture::SetUp();
        const fs::path built = fs::read_symlink("/proc/self/exe").parent_path() / "../src/workers";
        for (const char* worker : {"kiln_da", "ekiln"}) {
            if (!fs::exists(built / worker)) GTEST_SKIP() << "the workers are not built";
            fs::create_symlink(fs::canonical(built / worker), dir_ + "/bin/" + worker);
        }
        auto_iter = "-a";
        maxiter = 100000;
        epsilon = 1e-12;
    }

    void TearDown() override
    {
        TransitionNames.HardClear();
        WorkerFixture::TearDown();
    }

    std::vector<double> Solve()
    {
        testing::internal::CaptureStdout();
        SolveNetModel();
        out = testing::internal::GetCapturedStdout();
        return std::vector<double>(pi_vector, pi_vector + MCount[kCountTangible]);
    }

    Marking& Exp(unsigned key)
    {
        Marking& m = graph.Exp(key);
        m.SetType(kDelayExponential);
        return m;
    }

    Marking& Member(SMChain& chain, unsigned key, unsigned status, unsigned type)
    {
        Marking& m = graph.Member(chain, key, status);
        m.SetType(type);
        if (chain.GetMarkings().count == 1) chain.SetFirstStateNumber(key);
        return m;
    }

    HandGraph graph;
    std::string out;
};

// Normalizes weights to probabilities.
std::vector<double> Normalized(std::vector<double> w)
{
    double sum = 0.0;
    for (double x : w) sum += x;
    for (double& x : w) x /= sum;
    return w;
}

void ExpectRelative(const std::vector<double>& pi, const std::vector<double>& want, double tol)
{
    ASSERT_EQ(pi.size(), want.size());
    for (std::size_t k = 0; k < want.size(); ++k)
        EXPECT_NEAR(pi[k], want[k], tol * want[k]) << "state " << k + 1;
}

// Steady state of a small stochastic matrix: pi P = pi, sum pi = 1, by
// elimination on (P^T - I) with the last equation replaced by the sum.
std::vector<double> Stationary(std::vector<std::vector<double>> p)
{
    const std::size_t n = p.size();
    std::vector<std::vector<double>> a(n, std::vector<double>(n + 1, 0.0));
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j) a[i][j] = p[j][i] - (i == j ? 1.0 : 0.0);
    for (std::size_t j = 0; j <= n; ++j) a[n - 1][j] = 1.0;
    for (std::size_t c = 0; c < n; ++c) {
        std::size_t pivot = c;
        for (std::size_t r = c; r < n; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
        std::swap(a[c], a[pivot]);
        for (std::size_t r = 0; r < n; ++r)
            if (r != c) {
                double f = a[r][c] / a[c][c];
                for (std::size_t j = c; j <= n; ++j) a[r][j] -= f * a[c][j];
            }
    }
    std::vector<double> x(n);
    for (std::size_t i = 0; i < n; ++i) x[i] = a[i][n] / a[i][i];
    return x;
}

// M/D/1/K from the chain embedded at departures: with a_j the probability of
// j arrivals during one service, a departure that leaves i >= 1 behind leaves
// i - 1 + A next (A arrivals, at most K - 1 in all), one that leaves 0 leaves
// A. Then P[k] = d_k / (d_0 + rho) for k < K and P[K] = 1 - 1 / (d_0 + rho).
std::vector<double> MD1K(double lambda, double d, std::size_t K)
{
    const double rho = lambda * d;
    std::vector<double> a;
    for (std::size_t j = 0; j < K; ++j)
        a.push_back(std::exp(-rho) * std::pow(rho, j) / std::tgamma(j + 1.0));
    std::vector<std::vector<double>> p(K, std::vector<double>(K, 0.0));
    for (std::size_t i = 0; i < K; ++i) {
        std::size_t from = i == 0 ? 0 : i - 1;
        double rest = 1.0;
        for (std::size_t j = from; j + 1 < K; ++j) {
            p[i][j] = a[j - from];
            rest -= a[j - from];
        }
        p[i][K - 1] += rest;
    }
    std::vector<double> left = Stationary(p);
    std::vector<double> prob;
    for (std::size_t k = 0; k < K; ++k) prob.push_back(left[k] / (left[0] + rho));
    prob.push_back(1.0 - 1.0 / (left[0] + rho));
    return prob;
}

TEST_F(WorkerSolutionTest, MD1KQueueMatchesTheDepartureChain)
{
    const double lambda = 1.0, service = 0.5;
    const std::size_t K = 5;
    // State 1: empty; states 2..6: 1..5 customers, one chain of the server.
    std::vector<Marking*> queue{&Exp(1)};
    SMChain& server = graph.DetChain(1);
    for (std::size_t k = 1; k <= K; ++k)
        queue.push_back(&Member(server, static_cast<unsigned>(k + 1),
                                k == 1 ? kStatusInitial : kStatusVisited, kDelayDeterministic));
    HandGraph::Edges(*queue[0], {{queue[1], lambda}});
    for (std::size_t k = 1; k < K; ++k)
        HandGraph::Edges(*queue[k],
                         {{queue[k - 1], service, kDelayDeterministic, 1}, {queue[k + 1], lambda}});
    HandGraph::Edges(*queue[K], {{queue[K - 1], service, kDelayDeterministic, 1}});
    ExpectRelative(Solve(), MD1K(lambda, service, K), 1e-8);
    EXPECT_FALSE(fs::exists(dir_ + "/tmp/net.SMCORDER01"));
}

// Idle (rate a) -> busy for tau, or until a failure (rate f) -> repair
// (rate r) -> idle. Per cycle: idle 1/a, busy (1 - e^-f tau) / f, and with
// probability 1 - e^-f tau a repair of 1/r.
TEST_F(WorkerSolutionTest, AFailurePreemptsTheDeterministicDelay)
{
    const double a = 2.0, tau = 1.0, f = 0.7, r = 3.0;
    Marking& idle = Exp(1);
    Marking& repair = Exp(2);
    SMChain& chain = graph.DetChain(1);
    chain.SetNoOfPreemptingArcs(1);
    Marking& busy = Member(chain, 3, kStatusInitial, kDelayDeterministic);
    HandGraph::Edges(idle, {{&busy, a}});
    HandGraph::Edges(repair, {{&idle, r}});
    HandGraph::Edges(busy, {{&idle, tau, kDelayDeterministic, 1}, {&repair, f, kDelayPreempting}});
    const double broken = 1.0 - std::exp(-f * tau);
    ExpectRelative(Solve(), Normalized({1.0 / a, broken / r, broken / f}), 1e-8);
}

// Start (rates b, g) into a deterministic delay tau or a uniform [0, 1]
// delay that a failure (rate f) may preempt; a repair (rate r) follows.
// Uniform T: P(T < X) = E[e^-fT] = (1 - e^-f) / f, E[min(T, X)] =
// (f - 1 + e^-f) / f^2 for X exponential of rate f.
TEST_F(WorkerSolutionTest, GeneralChainIsNumberedAfterTheDeterministicOne)
{
    const double b = 1.0, g = 1.5, tau = 0.8, f = 0.8, r = 2.0;
    TransitionNames.Append(new Textual("D1"));
    TransitionNames.Append(new Textual("T1"));
    std::ofstream(dir_ + "/tmp/net.pmf") << "TRANSITION T1\nUNIFORM(0.000000,1.000000);\n\n";
    Marking& start = Exp(1);
    Marking& repair = Exp(2);
    SMChain& det = graph.DetChain(1);
    SMChain& gen = graph.GenChain(2);
    gen.SetNoOfPreemptingArcs(1);
    Marking& d = Member(det, 3, kStatusInitial, kDelayDeterministic);
    Marking& u = Member(gen, 4, kStatusInitial, kDelayGeneral);
    HandGraph::Edges(start, {{&d, b}, {&u, g}});
    HandGraph::Edges(repair, {{&start, r}});
    HandGraph::Edges(d, {{&start, tau, kDelayDeterministic, 1}});
    HandGraph::Edges(u, {{&start, 0.5, kDelayGeneral, 2}, {&repair, f, kDelayPreempting}});
    const double pb = b / (b + g), pg = g / (b + g);
    const double fires = (1.0 - std::exp(-f)) / f;
    const double inU = (f - 1.0 + std::exp(-f)) / (f * f);
    ExpectRelative(Solve(), Normalized({1.0 / (b + g), pg * (1.0 - fires) / r, pb * tau, pg * inU}),
                   1e-8);
}

}  // namespace
