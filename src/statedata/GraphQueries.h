// Queries on the outgoing edges of a stored marking, used by the chain files,
// the workers and the examination.
#pragma once

class Marking;

// Sum of the values of the exponential and preempting edges.
double GetSumOfRates(const Marking& m);
// Number of exponential and preempting edges.
int GetNoOfExpPaths(const Marking& m);
// Number of runs of consecutive edges with the same target.
int GetNoOfStateTrans(const Marking& m);
// Transition number of the first deterministic or general edge, 0 if none.
int GetDetOrGenTransRef(const Marking& m);
