// Activation of exclusive transitions. A single-server transition serves one
// of its enabled bindings at a time; when it becomes enabled, the binding is
// chosen by weight, and the choice is part of the state (the ata). All
// choices of one marking are made together: every combination becomes one
// branch of ExcStartMark with the product of its probabilities.
#pragma once

#include <vector>

class PendingMarking;
class TNos;

// Once per generation, before the first activation.
void PrepareActivation();
// Prepares the activation for the entry's marking: ExcStartAta, RefTNos from
// the entry's set, no branches yet; with `reload` the places are loaded
// with the entry's vector.
void NewInitExc(short reload);
// The same for a tangible marking reached through immediate firings, with
// its own enabling set.
void ImmInitExc(PendingMarking& reached, TNos* t);

// Fills ExcStartMark with one branch per combination of activated bindings
// (equal ata merged); leaves it empty when no transition is activated.
void HandleExcTransitions();

void ClearNewExc();

// Whether SuccessorActivation can tell the array of every successor: the
// dependency records cover the enabling and no exclusive transition has more
// than one binding to choose from.
bool ActivationKnownWhenFired();
// The array a successor will have once its queue entry is handled, worked
// out on the new contents right after the firing of transition number
// transNo from a marking with array `ata` (null for zeros), while they still
// hold the successor: the entries MakeNewAta keeps and those the activation
// adds, in `result`. `activated` tells whether the activation added any,
// `probability` is the product of their branch probabilities. False when it
// cannot be told this early: the dependency records do not cover the
// enabling, or a newly enabled transition must choose among bindings.
bool SuccessorActivation(const short* ata, int transNo, std::vector<short>& result,
                         bool& activated, double& probability);
