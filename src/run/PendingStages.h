// Stages of the pipeline whose subsystems are still being built. Each one is
// an empty stand-in with the stage's final name, so that `main` already runs
// its whole order; the engineer who builds a stage deletes its stand-in here.
#pragma once

// Description reader and net model.
void ForgetGeneralTransitions();  // GeneralTransitions.SoftClear()
void DeleteDefinitions();  // DefinitionRefs: items deleted, list emptied

// End of the run.
void ReleaseStores();  // MHash, EvalRefs, TransitionNames, PlaceArray
