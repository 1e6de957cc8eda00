// Releasing the parts of the net model that later stages no longer read:
// the general transitions once the PMF file holds their distributions, the
// global definitions once the class check has bound their copies, and the
// stores of the graph and the measures at the end of the run.
#pragma once

// GeneralTransitions is emptied; the transitions stay with their classes.
void ForgetGeneralTransitions();
// The definitions of DefinitionRefs are deleted and the list emptied.
void DeleteDefinitions();
// The marking store, the measures, the transition names and the place array.
void ReleaseStores();
