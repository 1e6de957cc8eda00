#include "solution/WorkerAccuracy.h"

#include "solution/IterationSettings.h"

namespace {

constexpr double kFinerTruncation = 1e-3;

}  // namespace

double worker_epsilon(double epsilon)
{
    return read_iteration_settings(true).error_stop ? epsilon * kFinerTruncation : epsilon;
}
