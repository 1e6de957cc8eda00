// Stages of the pipeline whose subsystems are still being built. Each one is
// an empty stand-in with the stage's final name, so that `main` already runs
// its whole order; the engineer who builds a stage deletes its stand-in here.
#pragma once

#include "foundation/Str.h"
#include "run/ListingsRRGParams.h"
#include "statespace/data/NetCounts.h"

// Description reader and net model.
int yyparse();
void WritePMFFile();
void ForgetGeneralTransitions();  // GeneralTransitions.SoftClear()
void ClassCheck();
void ShowClasses();
void DeleteDefinitions();  // DefinitionRefs: items deleted, list emptied
void InitGlobalVars();

// Reachability graph.
void CreateMarkingStores();  // MHash, and NPMHash when there are immediate transitions
void CreateRRG();
void FreeTransitionArrays();  // ExcTrans, ImmTrans, InfTrans
void ShowHashDistribution();  // MHash.ShowHashDistribution()
void ExamineRRG();
void ShowRRG();
void ShowSmallRRG();

// Passes.
void SetRates();
void SolveNetModel();
void WriteResults(Str fileName);
void ReleaseStores();  // MHash, EvalRefs, TransitionNames, PlaceArray

// The number of the first exclusive transition with this full name, or -1.
int FindExclusiveTransitionNumber(const Str& fullName);
