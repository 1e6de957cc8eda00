// Examination of the reduced reachability graph: every marking is classified
// by the kind of its outgoing edges and counted, the markings are gathered
// into lists and numbered (exponential markings first, then one contiguous
// block per subordinated Markov chain, then the vanishing ones), and the
// subordinated chains of the deterministic and general transitions are
// formed. Afterwards a marking's key is its state number.
#pragma once

#include "foundation/PtrList.h"
#include "statedata/Marking.h"
#include "statedata/SMChain.h"

class SMCVisited;

void ExamineRRG();

// When the initial marking's first edge is a probability edge, its target
// becomes the initial marking.
void ChkFirstES();
void InitCounter();
// Depth first from m: classification, counting and the lists.
void CountMarksMakeLists(Marking*& m);
// Folds the code of one edge (transition `trans`) into the marking kind so
// far; a deterministic or general record sets transRef.
void ChkAndSetDT(int& kind, int code, int& transRef, int trans);
// The successors of a probability marking may enable one deterministic or
// general transition only.
void ChkIntermediateMark(Marking*& m);
void NumberMarkings();

// Formation of the chains of one class (code 4 deterministic, 5 general).
void MakeSMCs(PtrList<SMChain>& chains, int code);
void CreateSMC(Marking*& m, int& preempting, SMCVisited& visited, int code);

// Final numbering inside each chain, depth first from its entry markings.
void RenumberDetGenMarks(PtrList<SMChain>& chains, unsigned count, int code);
void RenumberSMC(Marking*& m, unsigned& next, int code);
