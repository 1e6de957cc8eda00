// The general workers: every general subordinated chain is analysed by an
// ekiln process, which writes the chain's rows into the numbered chain files
// after those of the deterministic chains.
#pragma once

#include "foundation/PtrList.h"
#include "statespace/data/SMChain.h"

// Runs the workers for the `genCount` chains of `chains`; their chain files
// are numbered after the `detCount` files of the deterministic chains.
void ExecuteEkilnProcesses(int& genCount, int& detCount, PtrList<SMChain>& chains);
