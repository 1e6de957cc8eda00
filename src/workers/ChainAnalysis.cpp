// Row loop of the chain analysis: transient rows, their combination with the
// firing and leaving rows over a dense accumulator of the target states, and
// the two chain files.
#include "workers/ChainAnalysis.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "workers/ChainFile.h"
#include "workers/StepWeights.h"
#include "workers/TransientRows.h"
#include "workers/UniformizedChain.h"

namespace {

// Leaves out the entries below share * total / count: together at most
// `share` of the row's total.
void DropNegligible(std::vector<ChainEntry>& entries, double share)
{
    if (entries.empty()) return;
    double total = 0.0;
    for (const ChainEntry& e : entries) total += e.value;
    const double threshold = share * total / static_cast<double>(entries.size());
    std::erase_if(entries, [&](const ChainEntry& e) { return e.value < threshold; });
}

// Sums weighted target rows into one row over the compact target numbering.
class TargetAccumulator {
public:
    explicit TargetAccumulator(const std::vector<std::uint32_t>& targets)
        : targets(targets), sum(targets.size(), 0.0), used(targets.size(), 0)
    {
    }

    void Add(const SparseRows& rows, std::uint32_t row, double weight)
    {
        if (weight == 0.0) return;
        for (std::size_t e = rows.start[row]; e < rows.start[row + 1]; ++e) {
            const std::uint32_t j = rows.column[e];
            if (!used[j]) {
                used[j] = 1;
                touched.push_back(j);
            }
            sum[j] += weight * rows.value[e];
        }
    }

    // Moves the collected row out, ascending by state, and clears.
    void Take(std::vector<ChainEntry>& entries)
    {
        std::sort(touched.begin(), touched.end());
        entries.clear();
        for (std::uint32_t j : touched) {
            if (sum[j] > 0.0) entries.push_back({sum[j], targets[j]});
            sum[j] = 0.0;
            used[j] = 0;
        }
        touched.clear();
    }

private:
    const std::vector<std::uint32_t>& targets;
    std::vector<double> sum;
    std::vector<char> used;
    std::vector<std::uint32_t> touched;
};

// Below this, rounding in the sums outweighs any truncation.
constexpr double kMinEpsilon = 1e-14;

}  // namespace

std::string DescribeSummary(int classNumber, const ChainSummary& summary)
{
    char text[200];
    std::snprintf(text, sizeof text,
                  "chain %02d: %zu states, rate %g, %zu steps, truncation <= %.2g (probability) "
                  "%.2g (time), %llu EMC and %llu CONV entries",
                  classNumber, summary.states, summary.rate, summary.steps, summary.firingBound,
                  summary.sojournBound, static_cast<unsigned long long>(summary.emcEntries),
                  static_cast<unsigned long long>(summary.convEntries));
    return text;
}

bool AnalyseChain(const SubordinatedChain& chain, const Distribution& firing, double epsilon,
                  const std::string& emcPath, const std::string& convPath, ChainSummary& summary,
                  std::string& error)
{
    epsilon = std::max(epsilon, kMinEpsilon);
    const double meanFiring = Mean(firing);
    const UniformizedChain uniformized(chain, meanFiring > 0.0 ? 1.0 / meanFiring : 1.0);
    StepWeights weights;
    if (!ComputeStepWeights(firing, uniformized.rate, epsilon, weights, error)) return false;

    ChainFile emcFile, convFile;
    if (!emcFile.Open(emcPath, error) || !convFile.Open(convPath, error)) return false;

    summary = ChainSummary{};
    summary.states = chain.states.size();
    summary.rate = weights.rate;
    summary.steps = weights.Steps();
    summary.firingBound = weights.firingBound;
    summary.sojournBound = weights.sojournBound;

    const double dropShare = epsilon / 8.0;
    TransientRows rows(uniformized.step, weights, epsilon / 8.0);
    TargetAccumulator accumulator(uniformized.targets);
    std::vector<ChainEntry> entries;
    for (std::uint32_t r = 0; r < chain.states.size(); ++r) {
        rows.Compute(r);
        const std::uint32_t rowState = chain.firstState + r;

        for (std::uint32_t k : rows.Reached()) {
            accumulator.Add(uniformized.firing, k, rows.Omega(k));
            accumulator.Add(uniformized.leaving, k, rows.Psi(k));
        }
        accumulator.Take(entries);
        DropNegligible(entries, dropShare);
        if (!emcFile.WriteRow(rowState, entries, error)) return false;
        summary.emcEntries += entries.size();

        entries.clear();
        for (std::uint32_t k : rows.Reached())
            if (rows.Psi(k) > 0.0) entries.push_back({rows.Psi(k), chain.firstState + k});
        DropNegligible(entries, dropShare);
        if (!convFile.WriteRow(rowState, entries, error)) return false;
        summary.convEntries += entries.size();
    }
    if (!emcFile.Close(error) || !convFile.Close(error)) {
        std::remove(emcPath.c_str());
        std::remove(convPath.c_str());
        return false;
    }
    return true;
}
