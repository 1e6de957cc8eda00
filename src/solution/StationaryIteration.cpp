// One driver for the stationary methods: each step updates x in place and
// reports, through the ratios old / new of every component, the largest
// relative change between consecutive normalised iterates; the error
// estimate and the stop test are the driver's.
#include "solution/StationaryIteration.h"

#include "foundation/RunState.h"
#include "solution/ErrorEstimate.h"
#include "solution/IterationProgress.h"
#include "solution/OverRelaxationTrial.h"
#include "solution/PairwiseSum.h"
#include "solution/SolverMessages.h"
#include "solution/SweepOrder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <vector>

namespace {

// The reverse breadth-first order is taken only when it reads far more of
// the inflow updated: on the kanban chains 75 against 45-47 % (sweeps to
// 1e-9 at N=4: 130 against 362), whereas on the FMS chains (57-60 against
// 53-54 %) Gauss-Seidel gains a tenth in that order but over-relaxation,
// which saves a third in the chain's own, no longer converges.
constexpr double kOrderMargin = 0.1;

// SOR AUTO chooses the order after this many sweeps: by then the vector that
// weighs the inflows has the chain's shape (the kanban, FMS, deterministic
// and coloured chains of the benchmark decide as they did after 60 sweeps),
// and every sweep made in the chain's own order is dear where the reverse
// order is taken: on kanban N=5 one cost 0.127 s CPU against 0.045 s in the
// reverse order, whose columns lie closer together. Sweeps in all there: 158
// when choosing after 60, 147 after 10, 149 after 2, the last with the
// least time (the sweeps 8.4 against 9.4 s CPU on a loaded machine).
constexpr int kOrderChoiceSweeps = 2;

// Steps made after convergence to bound each state's error.
constexpr int kBoundingSteps = 2;

// The extremes of old_i / new_i over a step; the relative change of the
// normalised iterate follows once the new sum is known. Components that stay
// below `floor` on both sides of the step are not looked at.
struct ChangeRatios {
    explicit ChangeRatios(double floor) : floor(floor) {}

    double floor;
    double lowest = std::numeric_limits<double>::infinity();
    double highest = -std::numeric_limits<double>::infinity();
    bool vanished = false;  // a component fell to zero: a change without bound
    bool lost = false;      // a component left the finite numbers
    double moved = 0.0;     // the sum of |new_i - old_i|

    // Most ratios fall inside the range already seen: tested with two
    // products, they spare the sweep a division per state (without the
    // change test at all, 300 Gauss-Seidel sweeps of kanban N=4 took 4.2
    // instead of 4.9 s CPU on a loaded machine).
    void Note(double before, double after)
    {
        moved += std::fabs(after - before);
        if (after > floor && before >= lowest * after && before <= highest * after) return;
        Widen(before, after);
    }

    void Widen(double before, double after)
    {
        if (!std::isfinite(after)) {
            lost = true;
            return;
        }
        if (std::fabs(before) < floor && std::fabs(after) < floor) return;
        if (after == 0.0) {
            vanished = true;
            return;
        }
        double ratio = before / after;
        lowest = std::min(lowest, ratio);
        highest = std::max(highest, ratio);
    }

    // With the new iterate scaled by `scale` to sum 1 (the old one summed to
    // 1), component i changed by |1 - ratio_i / scale| relative to its new
    // value. The change of scale counts too: an SOR step that only rescales
    // the iterate has found an eigenvector of the step whose eigenvalue is
    // not 1, not the solution, and normalising would hide that. Where the
    // iteration converges the scale's change is at most the largest change
    // of a component.
    double Change(double scale) const
    {
        if (lost || vanished || !std::isfinite(scale))
            return std::numeric_limits<double>::infinity();
        double rescaled = std::fabs(1.0 - scale);
        if (lowest > highest) return rescaled;
        return std::max({std::fabs(1.0 - lowest / scale), std::fabs(1.0 - highest / scale),
                         rescaled});
    }

    // The sum of the changes of the normalised iterate, bounded: scaling by
    // `scale` moves the old iterate (sum 1) by |1 - scale|.
    double Moved(double scale) const { return std::fabs(scale) * moved + std::fabs(1.0 - scale); }

    // The step left the finite numbers: over-relaxation diverging, or a sum
    // of zero.
    bool Diverged(double scale) const { return lost || !std::isfinite(scale); }
};

// The entries' values as a sweep reads them: from s.a, or through the codes
// of code_values. Each sweep is compiled for both.
struct PlainValues {
    const double* a;
    double operator[](int e) const { return a[e]; }
};

struct CodedValues {
    const std::uint16_t* code;
    const double* table;
    double operator[](int e) const { return table[code[e]]; }
};

// Calls sweep with s's values as it stores them.
template <class Sweep>
auto with_values(const ScaledMatrix& s, Sweep&& sweep)
{
    if (s.code) return sweep(CodedValues{s.code, s.table});
    return sweep(PlainValues{s.a});
}

template <class Values>
double minus_row_product(int i, const ScaledMatrix& s, Values values, const double* x)
{
    double sum = 0.0;
    for (int e = s.ia[i - 1]; e < s.ia[i]; ++e) sum += values[e] * x[s.ja[e]];
    return -sum;
}

// One Gauss-Seidel/SOR step over the rows in the chosen direction.
template <class Values>
void gauss_seidel_step(int n, const ScaledMatrix& s, Values values, double omega, bool backward,
                       double* x, ChangeRatios& ratios)
{
    for (int k = 1; k <= n; ++k) {
        int i = backward ? n + 1 - k : k;
        double updated = x[i] + omega * (minus_row_product(i, s, values, x) - x[i]);
        ratios.Note(x[i], updated);
        x[i] = updated;
    }
}

// One damped Jacobi step x += omega (y - x) with y = -S x.
template <class Values>
void jacobi_step(int n, const ScaledMatrix& s, Values values, double omega, double* x,
                 std::vector<double>& y, ChangeRatios& ratios)
{
    for (int i = 1; i <= n; ++i) y[i] = minus_row_product(i, s, values, x);
    for (int i = 1; i <= n; ++i) {
        double updated = x[i] + omega * (y[i] - x[i]);
        ratios.Note(x[i], updated);
        x[i] = updated;
    }
}

// Scales x to sum 1.
struct Normalised {
    double scale;     // the factor applied
    double largest;   // the largest |x_i| after scaling
    double smallest;  // the smallest x_i after scaling
};

Normalised normalise(int n, double* x)
{
    double scale = 1.0 / pairwise_sum(x + 1, n);
    double largest = 0.0;
    double smallest = std::numeric_limits<double>::infinity();
    for (int i = 1; i <= n; ++i) {
        x[i] *= scale;
        largest = std::max(largest, std::fabs(x[i]));
        smallest = std::min(smallest, x[i]);
    }
    return {scale, largest, smallest};
}

// A recent iterate without negative components (at first the start), so that a
// step leaving the finite numbers, which over-relaxation can do when it
// diverges, is undone rather than turned into the result. Kept every few
// steps: a copy per step would cost a tenth of a sweep.
class KeptIterate {
public:
    KeptIterate(int n, const double* x) : kept(x, x + n + 1) {}

    void Offer(int step, const Normalised& normalised, const double* x)
    {
        if (step % kEvery == 0 && normalised.smallest >= 0.0)
            std::copy(x, x + kept.size(), kept.begin());
    }
    void Restore(double* x) const { std::copy(kept.begin(), kept.end(), x); }

private:
    static constexpr int kEvery = 10;
    std::vector<double> kept;
};

// Over-relaxation converges on many chains in fewer steps than Gauss-Seidel
// but not on all: where its step has an eigenvalue of modulus 1 or more
// besides the solution's, the changes stop shrinking (or grow). Such a run
// goes on as Gauss-Seidel.
bool over_relaxation_stalls(double omega, const ErrorEstimate& estimate)
{
    constexpr double kStalledRate = 1.0 - 1e-6;
    return omega != 1.0 &&
           estimate.Steps() >= ErrorEstimate::kFirstTrusted + ErrorEstimate::kWindow &&
           !(estimate.Rate() < kStalledRate);
}

void report_fall_back(int step, const char* why)
{
    if (DEBUG)
        std::printf("\t\t over-relaxation %s after %d iterations; going on with GAUSS-SEIDEL\n",
                    why, step);
}

// With -v, what SOR AUTO decided.
void report_trial(int step, OverRelaxationTrial::Verdict verdict, double omega)
{
    if (!DEBUG) return;
    if (verdict == OverRelaxationTrial::Verdict::kTry)
        std::printf("\t\t trying SOR %g after %d iterations\n", omega, step);
    else if (verdict == OverRelaxationTrial::Verdict::kAdopt ||
             verdict == OverRelaxationTrial::Verdict::kKeep)
        std::printf("\t\t going on with SOR %g after %d iterations\n", omega, step);
    else if (verdict == OverRelaxationTrial::Verdict::kGaussSeidel)
        report_fall_back(step, "converges no faster than GAUSS-SEIDEL");
}

}  // namespace

double scaled_residual(int n, const ScaledMatrix& s, const double* x)
{
    return with_values(s, [&](auto values) {
        double largest = 0.0;
        for (int i = 1; i <= n; ++i) {
            double residual = std::fabs(s.d[i] * (x[i] - minus_row_product(i, s, values, x)));
            if (residual > largest || std::isnan(residual)) largest = residual;
            if (std::isnan(largest)) break;
        }
        return largest;
    });
}

IterationResult iterate_stationary(const IterationSettings& settings, int n, ScaledMatrix& s,
                                   double* solution, int maxiter, double required)
{
    // The vector swept: the solution, or a copy renumbered into a better
    // sweep order together with s.
    double* x = solution;
    std::optional<SweepOrder> order;
    std::vector<double> reordered_x;
    bool jacobi = settings.method == IterationMethod::kJacobi;
    std::vector<double> y(jacobi ? n + 1 : 0);
    ErrorEstimate estimate;
    IterationResult result;
    double largest = normalise(n, x).largest;
    KeptIterate kept(n, x);
    OverRelaxationTrial trial(!jacobi && settings.trial);
    double omega = jacobi || settings.trial ? 1.0 : settings.omega;
    double previous = std::numeric_limits<double>::infinity();
    IterationProgress progress;
    // Over-relaxation that diverges or stalls is undone back to the last
    // iterate without negative components: from its own iterate, which may hold
    // components of 1e10 with both signs, Gauss-Seidel could take longer
    // than from the start.
    auto go_on_as_gauss_seidel = [&](int k, const char* why) {
        kept.Restore(x);
        largest = normalise(n, x).largest;
        report_fall_back(k, why);
        omega = 1.0;
        estimate = ErrorEstimate();
        trial.End();
    };
    // SOR AUTO chooses the order once the first sweeps have shaped the
    // vector that weighs the inflows (kOrderChoiceSweeps).
    auto choose_order = [&](int k) {
        SweepOrder candidate(n, s);
        SweepOrder::Shares shares = candidate.UpdatedShares(s, x);
        if (!(shares.reordered > shares.natural + kOrderMargin)) return;
        candidate.Renumber(s);
        reordered_x.resize(n + 1);
        candidate.ToOrder(x, reordered_x.data());
        x = reordered_x.data();
        kept = KeptIterate(n, x);
        order.emplace(std::move(candidate));
        if (DEBUG)
            std::printf("\t\t sweeping in reverse breadth-first order after %d iterations "
                        "(%.0f %% of the inflow read updated, against %.0f %%)\n",
                        k, 100.0 * shares.reordered, 100.0 * shares.natural);
    };
    // One step of the current method, x normalised after it.
    auto step = [&](ChangeRatios& ratios) {
        with_values(s, [&](auto values) {
            if (jacobi)
                jacobi_step(n, s, values, omega, x, y, ratios);
            else
                gauss_seidel_step(n, s, values, omega, settings.backward, x, ratios);
        });
        Normalised normalised = normalise(n, x);
        largest = normalised.largest;
        return normalised;
    };
    for (int k = 1; k <= maxiter; ++k) {
        ChangeRatios ratios(kNegligibleShare * largest);
        Normalised normalised = step(ratios);
        double change = ratios.Change(normalised.scale);
        result.iterations = k;
        if (ratios.Diverged(normalised.scale)) {
            result.estimate = std::numeric_limits<double>::infinity();
            if (jacobi || omega == 1.0) {
                kept.Restore(x);
                break;
            }
            go_on_as_gauss_seidel(k, "does not converge");
            continue;
        }
        if (!trial.Trying()) kept.Offer(k, normalised, x);
        result.estimate = estimate.Record(change, ratios.Moved(normalised.scale));
        double reached = settings.error_stop ? result.estimate : scaled_residual(n, s, x);
        if (reached < required) {
            result.converged = true;
            break;
        }
        if (settings.trial && !jacobi && k == kOrderChoiceSweeps) choose_order(k);
        if (jacobi) {
            omega = adapted_relaxation_factor(previous, change, omega);
        } else if (over_relaxation_stalls(omega, estimate)) {
            go_on_as_gauss_seidel(k, "does not converge");
        } else {
            OverRelaxationTrial::Verdict verdict = trial.After(estimate);
            // Kept on, over-relaxation goes on with its estimate.
            if (verdict == OverRelaxationTrial::Verdict::kKeep) {
                report_trial(k, verdict, settings.omega);
            } else if (verdict != OverRelaxationTrial::Verdict::kGoOn) {
                bool over = verdict == OverRelaxationTrial::Verdict::kTry ||
                            verdict == OverRelaxationTrial::Verdict::kAdopt;
                omega = over ? settings.omega : 1.0;
                estimate = ErrorEstimate();
                report_trial(k, verdict, settings.omega);
            }
        }
        previous = change;
        progress.Iteration(k, reached);
    }
    if (result.converged) {
        // The error of each state, not only the worst relative one: a
        // measure sums many states, most far more accurate than the worst.
        // A state's change can pass through zero at any one step (the
        // changes of over-relaxation turn around), so each is bounded by the
        // larger of its changes in two more steps.
        std::vector<double> bound(n + 1, 0.0);
        std::vector<std::vector<double>> changes;
        bool bounded = true;
        estimate.StopTestingFloors();
        for (int extra = 0; extra < kBoundingSteps; ++extra) {
            std::vector<double>& change = changes.emplace_back(x, x + n + 1);  // x before
            ChangeRatios ratios(kNegligibleShare * largest);
            Normalised normalised = step(ratios);
            if (ratios.Diverged(normalised.scale)) {
                // The converged iterate stays the result; it has no bounds.
                std::copy(change.begin(), change.end(), x);
                bounded = false;
                break;
            }
            ++result.iterations;
            result.estimate = estimate.Record(ratios.Change(normalised.scale),
                                              ratios.Moved(normalised.scale));
            for (int i = 1; i <= n; ++i) {
                change[i] = x[i] - change[i];
                bound[i] = std::max(bound[i], std::fabs(change[i]));
            }
        }
        if (bounded && std::isfinite(result.estimate) && estimate.BoundingRate() < 1.0) {
            double extrapolation = 1.0 / (1.0 - estimate.BoundingRate());
            changes.push_back(std::move(bound));
            for (std::vector<double>& values : changes) {
                for (int i = 1; i <= n; ++i) values[i] *= extrapolation;
                if (order) {
                    std::vector<double> numbered(n + 1);
                    order->FromOrder(values.data(), numbered.data());
                    values.swap(numbered);
                }
            }
            result.error_bounds = std::move(changes.back());
            changes.pop_back();
            result.error_steps = std::move(changes);
        }
    }
    result.residual = scaled_residual(n, s, x);
    if (order) order->FromOrder(x, solution);
    return result;
}
