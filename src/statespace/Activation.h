// Activation of exclusive transitions. A single-server transition serves one
// of its enabled bindings at a time; when it becomes enabled, the binding is
// chosen by weight, and the choice is part of the state (the ata). All
// choices of one marking are made together: every combination becomes one
// branch of ExcStartMark with the product of its probabilities.
#pragma once

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
