// Queries on the outgoing edges of a marking.
#include "statedata/GraphQueries.h"

#include "statedata/Marking.h"

namespace {

bool IsRate(const stt& s)
{
    return s.GetDelayType() == kDelayExponential || s.GetDelayType() == kDelayPreempting;
}

}  // namespace

double GetSumOfRates(const Marking& m)
{
    double sum = 0.0;
    for (const stt& s : m.Edges())
        if (IsRate(s)) sum += s.GetDelayVal();
    return sum;
}

int GetNoOfExpPaths(const Marking& m)
{
    int n = 0;
    for (const stt& s : m.Edges())
        if (IsRate(s)) ++n;
    return n;
}

int GetNoOfStateTrans(const Marking& m)
{
    int runs = 0;
    const Marking* previous = nullptr;
    for (const stt& s : m.Edges()) {
        if (runs == 0 || s.Target() != previous) ++runs;
        previous = s.Target();
    }
    return runs;
}

int GetDetOrGenTransRef(const Marking& m)
{
    return m.ChainTransition();
}
