// Rates are compared as the estimate smooths them, over the last fifty
// sweeps of each phase.
#include "solution/OverRelaxationTrial.h"

OverRelaxationTrial::Verdict OverRelaxationTrial::After(const ErrorEstimate& estimate)
{
    if (phase == Phase::kOver || estimate.Steps() < kSweeps) return Verdict::kGoOn;
    switch (phase) {
        case Phase::kBefore:
            first_rate = estimate.Rate();
            phase = Phase::kTrying;
            return Verdict::kTry;
        case Phase::kTrying:
            trial_rate = estimate.Rate();
            if (trial_rate < first_rate * first_rate) {
                phase = Phase::kOver;
                return Verdict::kKeep;
            }
            phase = Phase::kComparing;
            return Verdict::kCompare;
        default:
            phase = Phase::kOver;
            return trial_rate < estimate.Rate() ? Verdict::kAdopt : Verdict::kGaussSeidel;
    }
}
