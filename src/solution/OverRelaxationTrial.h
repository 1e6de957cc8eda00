// The choice of SOR AUTO: over-relaxation converges faster than Gauss-Seidel
// on some chains (a third fewer sweeps on the kanban and FMS chains) and
// slower or not at all on others (the deterministic family, infinite-server
// stations). The run sweeps as Gauss-Seidel, tries over-relaxation for as
// many sweeps, sweeps as Gauss-Seidel again and goes on with whichever
// shrank its changes faster. Gauss-Seidel is measured after the trial too
// because its first sweeps converge much faster than its later ones (on
// kanban N=3 a rate of 0.88 over sweeps 10 to 60, 0.93 in the end), which
// would make over-relaxation look worse than it is. Where the trial's changes
// shrink faster than Gauss-Seidel's did towards the end of its first sweeps
// (the slower of the rates over its whole phase and over the phase's recent
// half, the rate the error estimate extrapolates with), the run goes on with
// over-relaxation at once: the trial ran later, where every method's changes
// shrink more slowly, and still won, so comparing again could only confirm
// it. On kanban N=5 (0.81 against 0.90 a sweep) the comparison would cost 50
// of its 207 sweeps, on FMS N=6 (0.933 against 0.935) 21 of 349.
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
    // Gauss-Seidel's before the trial: the slower of its rates
    // (ErrorEstimate::BoundingRate).
    double first_rate = 1.0;
    double trial_rate = 1.0;
};
