// The accumulation of one rating type over a list of markings. Each marking
// is weighted by its steady-state probability; the cell is evaluated with the
// marking loaded into the places.
#pragma once

#include "foundation/PtrList.h"
#include "netmodel/Cell.h"
#include "statedata/Marking.h"

// S += pi(M) where the condition holds.
void EvaluateProbability(PtrList<Marking>& list, Cell* cell, double& S);
// S += trunc(value) * pi(M): expected values are formed from whole numbers.
void EvaluateExpectVal(PtrList<Marking>& list, Cell* cell, double& S);
// Q += pi(M) where the condition holds, S += pi(M) where both hold.
void EvaluateBayesP(PtrList<Marking>& list, Cell* cell, double& Q, double& S);
// Where the condition holds: Q += pi(M), S += trunc(value) * pi(M).
void EvaluateBayesE(PtrList<Marking>& list, Cell* cell, double& Q, double& S);
// S += rate * pi(M) over the edges of the cell's transition.
void EvaluateThroughPut(PtrList<Marking>& list, Cell* cell, double& S);
