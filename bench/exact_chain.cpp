// Reference solutions of continuous-time Markov chains, for the benchmark's
// references: the stationary distribution in long double (64-bit mantissa)
// by Gauss-Seidel sweeps run until their changes stop shrinking, solved
// twice (sweeping in the natural and in a shuffled order) so that the two
// answers' agreement shows the resolution, and the measures summed in long
// double from the distribution of the natural order's sweeps.
//
//   exact_chain < chain > measures
//
// The chain is text, one item a line:
//   states N              the states are 0 .. N-1
//   rate I J R            a transition from I to J at rate R (strtold:
//                         hexadecimal floats give a double's exact value)
//   weight NAME I W       the measure NAME adds W times the probability of I
// Written: one line "NAME VALUE" per measure (21 significant digits); on
// standard error the sweeps and the largest relative difference between
// the two solutions of any measure.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Real = long double;

struct Chain {
    std::size_t states = 0;
    // The incoming transitions of each state (from, rate), and each state's
    // total outgoing rate.
    std::vector<std::vector<std::pair<std::size_t, Real>>> incoming;
    std::vector<Real> outgoing;
    std::map<std::string, std::vector<std::pair<std::size_t, Real>>> measures;
};

[[noreturn]] void Fail(const std::string& why)
{
    std::cerr << "exact_chain: " << why << "\n";
    std::exit(2);
}

Real ParseReal(const std::string& word)
{
    char* end = nullptr;
    Real value = std::strtold(word.c_str(), &end);
    if (end == word.c_str() || *end != '\0' || !std::isfinite(value)) Fail("not a number: " + word);
    return value;
}

std::size_t ParseState(const std::string& word, std::size_t states)
{
    char* end = nullptr;
    unsigned long long value = std::strtoull(word.c_str(), &end, 10);
    if (end == word.c_str() || *end != '\0' || value >= states) Fail("not a state: " + word);
    return static_cast<std::size_t>(value);
}

Chain ReadChain(std::istream& in)
{
    Chain chain;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind, a, b, c;
        if (!(words >> kind)) continue;
        if (kind == "states" && words >> a) {
            chain.states = ParseState(a, static_cast<std::size_t>(-1));
            chain.incoming.assign(chain.states, {});
            chain.outgoing.assign(chain.states, 0.0L);
        } else if (kind == "rate" && words >> a >> b >> c) {
            std::size_t from = ParseState(a, chain.states), to = ParseState(b, chain.states);
            Real rate = ParseReal(c);
            if (from == to || rate <= 0.0L) Fail("not a transition: " + line);
            chain.incoming[to].emplace_back(from, rate);
            chain.outgoing[from] += rate;
        } else if (kind == "weight" && words >> a >> b >> c) {
            chain.measures[a].emplace_back(ParseState(b, chain.states), ParseReal(c));
        } else {
            Fail("cannot read: " + line);
        }
    }
    if (chain.states == 0) Fail("no states");
    for (Real rate : chain.outgoing)
        if (rate == 0.0L) Fail("a state without transitions: the chain is not irreducible");
    return chain;
}

// One sweep over the balance equations pi_j q_j = sum_i pi_i q_ij in the
// given order, then the normalisation; returns the largest relative change
// of a probability.
Real Sweep(const Chain& chain, const std::vector<std::size_t>& order, std::vector<Real>& pi)
{
    Real largest = 0.0L;
    for (std::size_t j : order) {
        Real inflow = 0.0L;
        for (const auto& [from, rate] : chain.incoming[j]) inflow += pi[from] * rate;
        Real updated = inflow / chain.outgoing[j];
        if (updated > 0.0L) largest = std::max(largest, std::fabs(updated - pi[j]) / updated);
        pi[j] = updated;
    }
    Real total = 0.0L;
    for (Real p : pi) total += p;
    for (Real& p : pi) p /= total;
    return largest;
}

// Sweeps until the change, down among the last digits, has not reached a
// new low for a long stretch: the iterate then moves by its rounding alone.
// (An order can make Gauss-Seidel cycle without converging; that fails.)
std::vector<Real> Solve(const Chain& chain, const std::vector<std::size_t>& order, int& sweeps)
{
    constexpr Real kLastDigits = 1e-16L;
    constexpr int kStagnation = 200;
    constexpr int kMaxSweeps = 1000000;
    std::vector<Real> pi(chain.states, 1.0L / static_cast<Real>(chain.states));
    Real lowest = INFINITY;
    int since_lowest = 0;
    for (sweeps = 1; sweeps <= kMaxSweeps && since_lowest < kStagnation; ++sweeps) {
        Real change = Sweep(chain, order, pi);
        if (change < lowest || change > kLastDigits) {
            lowest = change;
            since_lowest = 0;
        } else {
            ++since_lowest;
        }
    }
    if (since_lowest < kStagnation) Fail("the sweeps did not settle");
    return pi;
}

std::map<std::string, Real> Measures(const Chain& chain, const std::vector<Real>& pi)
{
    std::map<std::string, Real> values;
    for (const auto& [name, weights] : chain.measures) {
        Real sum = 0.0L;
        for (const auto& [state, weight] : weights) sum += weight * pi[state];
        values[name] = sum;
    }
    return values;
}

// The states in a fixed pseudo-random order: sweeps whose rounding falls
// differently from the natural order's.
std::vector<std::size_t> Shuffled(std::size_t n)
{
    std::vector<std::size_t> order(n);
    for (std::size_t k = 0; k < n; ++k) order[k] = k;
    std::uint64_t state = 0x9E3779B97F4A7C15ULL;
    for (std::size_t k = n; k > 1; --k) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        std::swap(order[k - 1], order[(state >> 33) % k]);
    }
    return order;
}

}  // namespace

int main()
{
    Chain chain = ReadChain(std::cin);
    std::vector<std::size_t> natural(chain.states);
    for (std::size_t k = 0; k < chain.states; ++k) natural[k] = k;
    int natural_sweeps = 0, shuffled_sweeps = 0;
    std::map<std::string, Real> first = Measures(chain, Solve(chain, natural, natural_sweeps));
    std::map<std::string, Real> shuffled =
        Measures(chain, Solve(chain, Shuffled(chain.states), shuffled_sweeps));
    Real disagreement = 0.0L;
    for (const auto& [name, value] : first) {
        if (value != 0.0L)
            disagreement = std::max(disagreement, std::fabs(value - shuffled[name]) / std::fabs(value));
        std::printf("%s %.21Lg\n", name.c_str(), value);
    }
    std::fprintf(stderr, "%d sweeps in the natural order, %d in a shuffled one; "
                 "the two differ by %.2Lg relative\n", natural_sweeps, shuffled_sweeps, disagreement);
    return 0;
}
