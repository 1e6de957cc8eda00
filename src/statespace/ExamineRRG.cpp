// The examination driver, the counters and the first numbering.
#include "statespace/ExamineRRG.h"

#include "foundation/Reporters.h"
#include "statespace/RRGListing.h"
#include "statedata/MarkingListAhead.h"
#include "statedata/StateSpaceGlobals.h"

namespace {

// The list's markings get the next numbers. The list is in the order of the
// walk that classified them, their records all over the store.
void NumberList(PtrList<Marking>& list, unsigned& n)
{
    ForEachMarkingFetchingAhead<false>(list, [&n](Marking& m) { m.SetKey(++n); });
}

// Numbers the members of every chain with members, recording its first state
// number.
void NumberChains(PtrList<SMChain>& chains, unsigned& n)
{
    for (PLElement<SMChain>* c = chains.first; c; c = c->next) {
        PtrList<Marking>& members = c->item->GetMarkings();
        if (members.count == 0) continue;
        c->item->SetFirstStateNumber(n + 1);
        NumberList(members, n);
    }
}

}  // namespace

void ExamineRRG()
{
    ChkFirstES();
    InitCounter();
    CountMarksMakeLists(InitialMarking);
    NumberMarkings();
    if (MCount[kCountAbs] != 0) {
        ShowSmallRRG();
        ExErr(594, "CountMarksMakeLists()",
              "found absorbing marking, no steady state solution possible !");
    }
    if (MCount[kCountDet] + MCount[kCountExp] + MCount[kCountGen] != MCount[kCountTangible])
        ExErr(601, "ExamineRRG()",
              "sum of det.- exp.- and gen.-markings != no. of tangible markings");
    if (MCount[kCountTangible] + MCount[kCountPro] + MCount[kCountImm] != MCount[kCountAll])
        ExErr(604, "ExamineRRG()", "sum of all kinds of markings != total sum of markings");
    MakeSMCs(MLists.det_smcs, kDelayDeterministic);
    RenumberDetGenMarks(MLists.det_smcs, MCount[kCountDet], kDelayDeterministic);
    MakeSMCs(MLists.gen_smcs, kDelayGeneral);
    RenumberDetGenMarks(MLists.gen_smcs, MCount[kCountGen], kDelayGeneral);
}

void ChkFirstES()
{
    if (!InitialMarking) return;
    EdgeCursor first = InitialMarking->GetStt();
    if (first && first->Target() && first->GetDelayType() == kDelayProbability)
        InitialMarking = first->Target();
}

void InitCounter()
{
    MCount[kCountDet] = 0;
    MCount[kCountExp] = 0;
    MCount[kCountGen] = 0;
    MCount[kCountAbs] = 0;
}

void NumberMarkings()
{
    unsigned n = 0;
    NumberList(MLists.exp_markings, n);
    NumberChains(MLists.det_smcs, n);
    NumberChains(MLists.gen_smcs, n);
    NumberList(MLists.imm_markings, n);
    NumberList(MLists.pro_markings, n);
    if (n + MCount[kCountAbs] != MCount[kCountAll])
        ExErr(347, "NumberMarkings()", "number of numbered markings != number of markings");
}
