// Accumulation of the five rating types, see RatingAccumulation.h.
#include "evaluation/RatingAccumulation.h"

#include "netmodel/MarkingVectors.h"
#include "solution/SolveLGS.h"
#include "statedata/MarkingListAhead.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Truncation toward zero to a 32-bit integer; values beyond its range
// saturate and NaN counts as 0, so that no measure value is undefined.
int TruncateToInt(double x)
{
    if (std::isnan(x)) return 0;
    if (x >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (x <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(x);
}

double Pi(const Marking& m)
{
    return pi_vector[m.GetKey() - 1];
}

// The codes of a conditional probability cell for one marking.
enum BayesCode : int { kConditionOnly = 1, kConditionAndEvent = 2 };

}  // namespace

RatingSums::RatingSums(Cell* rated)
    : cell(rated), type(rated->GetRatingType()), stepQ(pi_error_steps.size(), 0.0),
      stepS(pi_error_steps.size(), 0.0)
{
    // The transition number does not depend on the marking.
    if (type != Throughput) return;
    const Cell* number = cell->GetConstCell2();
    transition = TruncateToInt(number ? number->CalculateFloat() : 0.0);
}

void RatingSums::AddWeighted(double w, double pi, double error, const std::vector<double>& steps,
                             double& sum, double& bound, std::vector<double>& step_sums)
{
    sum += w * pi;
    bound += std::fabs(w) * error;
    for (std::size_t k = 0; k < step_sums.size(); ++k) step_sums[k] += w * steps[k];
}

void RatingSums::Add(const Marking& m, double pi, double error, const std::vector<double>& steps)
{
    switch (type) {
        case Probability:
            if (cell->CalculateFloat() != 0.0) AddWeighted(1.0, pi, error, steps, S, dS, stepS);
            break;
        case Expectation: {
            int value = TruncateToInt(cell->CalculateFloat());
            AddWeighted(value, pi, error, steps, S, dS, stepS);
            break;
        }
        case BayesProbability: {
            int code = TruncateToInt(cell->CalculateFloat());
            if (code == kConditionOnly || code == kConditionAndEvent)
                AddWeighted(1.0, pi, error, steps, Q, dQ, stepQ);
            if (code == kConditionAndEvent) AddWeighted(1.0, pi, error, steps, S, dS, stepS);
            break;
        }
        case BayesExpectation: {
            if (cell->CalculateCell2() == 0.0) break;
            int value = TruncateToInt(cell->CalculateCell1());
            AddWeighted(1.0, pi, error, steps, Q, dQ, stepQ);
            AddWeighted(value, pi, error, steps, S, dS, stepS);
            break;
        }
        case Throughput:
            for (EdgeCursor s = m.GetStt(); s; s = s.Next())
                if (s->GetTransNo() == transition)
                    AddWeighted(s->GetDelayVal(), pi, error, steps, S, dS, stepS);
            break;
        default:
            break;
    }
}

void AccumulateRatings(PtrList<Marking>& list, const std::vector<RatingSums*>& sums)
{
    if (sums.empty()) return;
    // The cells only read the places, so each load writes only the places
    // that differ from the marking before.
    bool load = std::any_of(sums.begin(), sums.end(), [](RatingSums* s) { return s->NeedsPlaces(); });
    if (load) StartActLoadRun();
    std::vector<double> steps(pi_error_steps.size());
    ForEachMarkingFetchingAhead(list, [&](const Marking& m) {
        if (load) InitActPms(m.GetPms());
        double pi = Pi(m);
        double error = pi_error.empty() ? 0.0 : pi_error[m.GetKey() - 1];
        for (std::size_t k = 0; k < steps.size(); ++k) steps[k] = pi_error_steps[k][m.GetKey() - 1];
        for (RatingSums* s : sums) s->Add(m, pi, error, steps);
    });
    if (load) EndActLoadRun();
}
