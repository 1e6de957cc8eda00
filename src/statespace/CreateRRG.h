// Generation of the reduced reachability graph: the tangible markings of the
// net, interned in MHash, linked by edges that carry a rate, a delay or a
// probability. Exploration is breadth first over the queue of pending
// successors; vanishing markings are resolved on the spot into
// probabilities of the tangible markings they lead to.
#pragma once

// Generates the whole graph from the places' initial contents. Afterwards
// InitialMarking is the initial marking of the graph: the stored initial
// marking, or, when the initial marking leads to several markings at once
// (it is vanishing, or exclusive bindings are chosen in it), a start
// marking outside the store whose edges lead to them.
void CreateRRG();

// The generation mode of the net: +1 exclusive, +2 infinite-server, +4
// immediate, +8 deterministic, general or mixed transitions.
int GenerationMode();

// Frees the start marking when it stayed outside the store.
void ReleaseRRG();

// Frees the lookup indexes of the marking store and the edge values, and
// the store of vanishing markings.
void ReleaseGenerationStores();
