// The process-wide stores of the state space: the marking stores, the
// subordinated chains, the lists and counters filled by the examination, and
// the initial marking of the graph.
#pragma once

#include "foundation/PtrList.h"
#include "statedata/Hash.h"
#include "statedata/Marking.h"
#include "statedata/MarkingStore.h"
#include "statedata/NPMarking.h"
#include "statedata/SMChain.h"

// Bucket counts of the two stores.
constexpr unsigned kMarkingBuckets = 131099;
constexpr unsigned kVanishingBuckets = 37;

extern MarkingStore MHash;        // tangible markings
extern Hash<NPMarking> NPMHash;  // vanishing markings of one resolution

extern PtrList<SMChain> DetMarkingSMChains;
extern PtrList<SMChain> GenMarkingSMChains;

// The lists the examination fills, in this order.
struct marking_lists {
    PtrList<SMChain> det_smcs;      // shares the chains of DetMarkingSMChains
    PtrList<SMChain> gen_smcs;      // shares the chains of GenMarkingSMChains
    PtrList<Marking> exp_markings;
    PtrList<Marking> imm_markings;
    PtrList<Marking> pro_markings;
    PtrList<Marking> other_markings;  // not filled by the examination
};
extern marking_lists MLists;

// Indices of the examination's counters in MCount.
enum MarkingCounter : int {
    kCountAll = 0,
    kCountTangible = 1,
    kCountDet = 2,
    kCountExp = 3,
    kCountPro = 4,
    kCountGen = 5,
    kCountImm = 6,
    kCountAbs = 7,
};
extern unsigned MCount[8];

extern Marking* InitialMarking;
