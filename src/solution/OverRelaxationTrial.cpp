// Rates are compared as the estimate smooths them, over the last fifty
// sweeps of each phase; the trial is kept at once by the slower of its rates.
#include "solution/OverRelaxationTrial.h"

OverRelaxationTrial::Verdict OverRelaxationTrial::After(const ErrorEstimate& estimate)
{
    if (phase == Phase::kOver || estimate.Steps() < kSweeps) return Verdict::kGoOn;
    switch (phase) {
        case Phase::kBefore:
            first_rate = estimate.BoundingRate();
            phase = Phase::kTrying;
            return Verdict::kTry;
        case Phase::kTrying:
            trial_rate = estimate.Rate();
            if (estimate.BoundingRate() < first_rate) {
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
