// Activation of exclusive transitions. A single-server transition serves one
// of its enabled bindings at a time; when it becomes enabled, the binding is
// chosen by weight, and the choice is part of the state (the ata). All
// choices of one marking are made together: every combination becomes one
// branch (of ExcStartMark, or of ActivatedBranches for markings explored
// when they come up) with the product of its probabilities.
#pragma once

#include <cstdint>
#include <vector>

#include "statedata/DelayVal.h"
#include "statespace/DependentTransitions.h"

class PendingMarking;
class PlainImmediates;
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

// Whether markings can be explored when they are stored, with the
// activations worked out at once (see FiringTimeExplorer.h): the dependency
// records cover the enabling (so what was found disabled stays so until a
// dependency fires), and the transitions whose kept binding order the
// exploration follows fit its sets (KeptBindingOrder.h).
bool ActivationKnownWhenFired();
// Tests compare an exploration with the queue's: false keeps every net on
// the queue.
void AllowExplorationWhenFired(bool allowed);
// Activation of the candidates inactive in `start` (null for zeros), tested
// on the new contents (onNew) or the actual ones: ActivatedBranches() gets
// one branch per combination, as HandleExcTransitions makes them in
// ExcStartMark. Answers whether any transition was activated. `source` is
// the ata of the marking whose firings led here (null for zeros), in which
// every enabled exclusive transition was active: a candidate the firings
// cannot enable is tested only where it was active there.
bool Activate(const short* start, const short* source, const std::vector<DependentExclusive>& candidates,
              bool onNew);
// The same tested on the flat form `flat` of a marking, where the
// exclusive transitions' enabling is known on counts (ExclusivesUsable):
// the places are not read.
bool ActivateOnCounts(const short* start, const short* source,
                      const std::vector<DependentExclusive>& candidates, const PlainImmediates& counts,
                      const std::uint16_t* flat);
// A branch of the last Activate or ActivateOnCounts: its probability and
// its ata, valid until the next of them.
struct ActivationBranch {
    DelayVal value;
    const short* ata;
};
const std::vector<ActivationBranch>& ActivatedBranches();
