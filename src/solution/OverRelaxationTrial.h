// The choice of SOR AUTO: over-relaxation converges faster than Gauss-Seidel
// on some chains (a third fewer sweeps on the kanban and FMS chains) and
// slower or not at all on others (the deterministic family, infinite-server
// stations). The run sweeps as Gauss-Seidel, tries over-relaxation for as
// many sweeps, sweeps as Gauss-Seidel again and goes on with whichever
// shrank its changes faster. Gauss-Seidel is measured after the trial too
// because its first sweeps converge much faster than its later ones (on
// kanban N=3 a rate of 0.88 over sweeps 10 to 60, 0.93 in the end), which
// would make over-relaxation look worse than it is. Where the trial's changes
// shrink at least twice as fast, in the logarithm, as Gauss-Seidel's did in
// its first sweeps, the run goes on with over-relaxation at once: on kanban
// N=5 (0.76 against 0.93 a sweep) the comparison would cost 50 of its 207
// sweeps. Twice, because Gauss-Seidel's rate is taken over its first sweeps,
// which include the few made before the order of the sweeps is chosen
// (SweepOrder); that order halves Gauss-Seidel's sweeps on the kanban chains.
#pragma once

#include "solution/ErrorEstimate.h"

class OverRelaxationTrial {
public:
    // Sweeps of each phase: enough for a smoothed rate over the full window.
    static constexpr int kSweeps = ErrorEstimate::kFirstTrusted + ErrorEstimate::kWindow;

    enum class Verdict {
        kGoOn,       // no change
        kTry,        // over-relaxation from now on, on trial
        kCompare,    // Gauss-Seidel again, to compare
        kAdopt,      // over-relaxation from now on
        kKeep,       // over-relaxation from now on, without comparing
        kGaussSeidel  // Gauss-Seidel from now on
    };

    explicit OverRelaxationTrial(bool wanted) : phase(wanted ? Phase::kBefore : Phase::kOver) {}

    // After each step, with the estimate of the sweeps since the method last
    // changed (the caller restarts it on every verdict but kGoOn).
    Verdict After(const ErrorEstimate& estimate);

    // Over-relaxation was given up for another reason.
    void End() { phase = Phase::kOver; }
    // Over-relaxation is on trial: a trial that fails goes back to where it
    // began.
    bool Trying() const { return phase == Phase::kTrying; }

private:
    enum class Phase { kBefore, kTrying, kComparing, kOver };
    Phase phase;
    double first_rate = 1.0;  // Gauss-Seidel's before the trial
    double trial_rate = 1.0;
};
