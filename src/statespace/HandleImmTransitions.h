// Elimination of immediate transitions. A marking in which an immediate
// transition is enabled is vanishing: it is never stored. The vanishing
// markings reachable from the explored marking are built as a graph of
// NPMarkings (interned in NPMHash for one resolution) whose edges carry the
// branching probabilities weight / sum of weights; its tangible leaves, each
// with the probability of reaching it, become the result in ImmReached.
#pragma once

class NPMarking;

// Resolves NewMarking with the set NewTNos. ImmReached stays empty when
// NewMarking is tangible; init_again becomes 1 when the places were loaded
// with another marking meanwhile.
void HandleImmTransitions(short& init_again);
// Expands a vanishing marking (whose vector the places hold and whose set
// RefTNos is) and, depth first, each successor that has no edges yet.
void CreateImmRG(NPMarking& node, short& init_again);
// Fires every enabled immediate binding of `node`, interns the successors
// and links them with their branching probabilities.
void ChkAndFireImm(NPMarking& node);
// Links `parent` to SavedMark: a successor met before (weight != 0, the
// weight of the binding that reached it again) gains weight / sum of the
// parent's value; a new one (weight 0) turns its own weight into that share.
void MakeDelay(double sum, NPMarking& parent, double weight);

// Sets a node's value and passes the change on to all its descendants.
void ChangeAllDelays(NPMarking& node, double value);
// Stops the run when `m` is `start` or one of its descendants: a loop of
// immediate firings.
void EndlessLoop(NPMarking& m, NPMarking& start);
// Collects the tangible leaves below `node` into ImmReached.
void Reduce(NPMarking& node);
// An exclusive transition stays active across immediate firings only while
// its active binding stays enabled: refreshes the ata of every reached
// marking from NewMarking's.
void CheckActTransArrays();
// Releases the reached markings and their sets.
void ClearImm();

// The interned successor being linked by ChkAndFireImm.
extern NPMarking* SavedMark;
