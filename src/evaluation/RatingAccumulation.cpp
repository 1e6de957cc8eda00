// Accumulation of the five rating types over one list of markings.
#include "evaluation/RatingAccumulation.h"

#include "netmodel/MarkingVectors.h"
#include "solution/SolveLGS.h"

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

// Calls visit(marking, pi) with each marking of the list loaded into the
// places; the cells only read them, so each load writes only the places
// that differ from the marking before.
template <class Visit>
void ForEachLoaded(PtrList<Marking>& list, Visit visit)
{
    StartActLoadRun();
    for (PLElement<Marking>* e = list.first; e; e = e->next) {
        InitActPms(e->item->GetPms());
        visit(*e->item, Pi(*e->item));
    }
    EndActLoadRun();
}

// The codes of a conditional probability cell for one marking.
enum BayesCode : int { kConditionOnly = 1, kConditionAndEvent = 2 };

}  // namespace

void EvaluateProbability(PtrList<Marking>& list, Cell* cell, double& S)
{
    ForEachLoaded(list, [&](const Marking&, double pi) {
        if (cell->CalculateFloat() != 0.0) S += pi;
    });
}

void EvaluateExpectVal(PtrList<Marking>& list, Cell* cell, double& S)
{
    ForEachLoaded(
        list, [&](const Marking&, double pi) { S += TruncateToInt(cell->CalculateFloat()) * pi; });
}

void EvaluateBayesP(PtrList<Marking>& list, Cell* cell, double& Q, double& S)
{
    ForEachLoaded(list, [&](const Marking&, double pi) {
        int code = TruncateToInt(cell->CalculateFloat());
        if (code == kConditionOnly || code == kConditionAndEvent) Q += pi;
        if (code == kConditionAndEvent) S += pi;
    });
}

void EvaluateBayesE(PtrList<Marking>& list, Cell* cell, double& Q, double& S)
{
    ForEachLoaded(list, [&](const Marking&, double pi) {
        if (cell->CalculateCell2() == 0.0) return;
        Q += pi;
        S += TruncateToInt(cell->CalculateCell1()) * pi;
    });
}

// The transition number does not depend on the marking, so the places need
// not be loaded.
void EvaluateThroughPut(PtrList<Marking>& list, Cell* cell, double& S)
{
    const Cell* number = cell->GetConstCell2();
    int transition = TruncateToInt(number ? number->CalculateFloat() : 0.0);
    for (PLElement<Marking>* e = list.first; e; e = e->next) {
        double pi = Pi(*e->item);
        for (EdgeCursor s = e->item->GetStt(); s; s = s.Next())
            if (s->GetTransNo() == transition) S += s->GetDelayVal() * pi;
    }
}
