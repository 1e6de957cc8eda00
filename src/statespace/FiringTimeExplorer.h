// Exploration of a stored marking in one go: its transitions are fired and
// each successor is handled as its entry in the queue of pending successors
// would be (vanishing markings resolved, exclusive transitions activated,
// deterministic and general firings ended in intermediate markings); what
// that finds is requested for interning (InterningPipeline.h).
//
// The queue carries each successor's enabling set so that a handling tests
// only what may have changed. Where the dependency records cover the
// enabling (see ActivationKnownWhenFired), testing everything gives the same
// results; the exploration does so where it is cheap and tests the
// dependents of the fired transition where the sets would have named only
// them, and needs no sets at all. What a set adds beyond enabling is the
// order in which the known enabled bindings of an infinite-server transition
// fire: that follows from the firings that made the marking (InfOrder).
#pragma once

#include <cstdint>

#include "statedata/Multiset.h"
#include "statespace/InterningPipeline.h"

class Marking;

// Once per generation, before the first exploration.
void PrepareExplorer();
// Something done with the contents of each stored marking as its
// exploration begins, in whichever process explores it (null: nothing).
// Lets tests make an exploration write or take its time.
void ObserveExploration(void (*observer)(const Pms& contents));
// Explores a stored marking: fires it, or, for an intermediate marking
// (`deferred` non-null), handles the entries that wait for it.
void ExploreMarking(const MarkingToExplore& m, DeferredEntries* deferred);
// Explores the stored marking with this code as if it were `source`: the
// requests name `source` as theirs.
void ExploreCode(const std::uint8_t* code, Marking& source, KeptOrderSet unknownInf);
