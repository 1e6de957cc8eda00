// The stores of the graph around its generation: the marking stores made
// before it, the transition arrays it alone uses freed after it, and the
// distribution listing of the marking store.
#pragma once

// MHash with its bucket count, counting (mode 2) under SHOW_COUNT and with
// the spinner otherwise; NPMHash, silent, when the net has immediate
// transitions.
void CreateMarkingStores();
// ExcTrans, ImmTrans and InfTrans.
void FreeTransitionArrays();
void ShowHashDistribution();
