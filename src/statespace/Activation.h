// Activation of exclusive transitions. A single-server transition serves one
// of its enabled bindings at a time; when it becomes enabled, the binding is
// chosen by weight, and the choice is part of the state (the ata). All
// choices of one marking are made together: every combination becomes one
// branch of ExcStartMark with the product of its probabilities.
#pragma once

#include <vector>

#include "statespace/data/Stt.h"

class TNos;

// Once per generation, before the first activation.
void PrepareActivation();
// Prepares the activation for the entry's marking: ExcStartAta, RefTNos from
// the entry's set, no branches yet; with `reload` the places are loaded
// with the entry's vector.
void NewInitExc(short reload);
// The same for a tangible marking reached through immediate firings, with
// its own enabling set.
void ImmInitExc(stt*& s, TNos*& t);

// Fills ExcStartMark with one branch per combination of activated bindings
// (equal ata merged); leaves it empty when no transition is activated.
void HandleExcTransitions();

void ClearNewExc();

// The activation a successor will get when its queue entry is handled,
// worked out on the new contents right after the firing of transition
// number transNo, while they still hold the successor: `ata` is the
// successor's array (null for zeros). `completed` is left empty when no
// transition becomes active, else it is the completed array, and
// `probability` the product of the branch probabilities. False when it
// cannot be told this early: the dependency records do not cover the
// enabling, or a newly enabled transition must choose among bindings.
// Whether ActivateOnNewContents can tell the activation after every
// exclusive firing: the dependency records cover the enabling and no
// exclusive transition has more than one binding to choose from.
bool ActivationKnownWhenFired();
bool ActivateOnNewContents(const short* ata, int transNo, std::vector<short>& completed,
                           double& probability);
