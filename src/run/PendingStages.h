// Stages of the pipeline whose subsystems are still being built. Each one is
// an empty stand-in with the stage's final name, so that `main` already runs
// its whole order; the engineer who builds a stage deletes its stand-in here.
#pragma once

// Description reader and net model.
void ForgetGeneralTransitions();  // GeneralTransitions.SoftClear()
void ShowClasses();
void DeleteDefinitions();  // DefinitionRefs: items deleted, list emptied

// Reachability graph.
void CreateMarkingStores();  // MHash, and NPMHash when there are immediate transitions
void CreateRRG();
void ShowRRGParams(int mode);
void FreeTransitionArrays();  // ExcTrans, ImmTrans, InfTrans
void ShowHashDistribution();  // MHash.ShowHashDistribution()
void ExamineRRG();
void ShowRRG();
void ShowSmallRRG();

// End of the run.
void ReleaseStores();  // MHash, EvalRefs, TransitionNames, PlaceArray
