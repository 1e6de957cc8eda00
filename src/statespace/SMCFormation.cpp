// Formation of the subordinated Markov chains: from each member not yet
// reached, the markings of the same chain reachable through exponential
// edges are walked depth first. An exponential edge that leaves the chain to
// an exponential marking disables the chain's transition: it becomes a
// preempting edge.
#include "foundation/Reporters.h"
#include "statespace/ExamineRRG.h"
#include "statespace/GraphWalk.h"
#include "statespace/SMCVisited.h"
#include "statedata/GraphQueries.h"

namespace {

// Whether the target of exponential edge e of m (whose chain transition is
// mRef) is a member of m's chain not yet reached by this walk.
bool FoundNewSMCMember(Marking& m, int mRef, stt& e, int& preempting, SMCVisited& visited, int code)
{
    Marking& t = *e.Target();
    if (t.GetType() == kDelayExponential) {
        e.SetDelayType(kDelayPreempting);
        ++preempting;
        return false;
    }
    if (static_cast<int>(t.GetType()) != code)
        ExErr(171, "FoundNewSMCMember()", "unexpected det- or gen-markingtype");
    if (GetDetOrGenTransRef(t) != mRef) return false;  // another chain's marking
    if (visited.MarkingIsInList(t.GetKey())) {
        if (t.GetStatus() == kStatusCounted)
            ExErr(189, "FoundNewSMCMember()", "cyclic SMC (counted)");
        if (t.GetStatus() == kStatusUnknown)
            ExErr(190, "FoundNewSMCMember()", "cyclic SMC (unknown)");
        // The entry keeps its status: the numbering starts from entries only,
        // so an entry marked as closing a cycle would leave its chain unnumbered.
        if (m.GetStatus() != kStatusInitial) m.SetStatus(kStatusLastOfSucc);
        return false;
    }
    visited.AddMarkingToList(t.GetKey());
    if (t.GetStatus() == kStatusUnknown)
        ExErr(204, "FoundNewSMCMember()", "try to make SMC with uncounted marking");
    if (t.GetStatus() != kStatusLastOfSucc) t.SetStatus(kStatusVisited);
    return true;
}

void RequireEdges(const Marking& m)
{
    if (!m.GetStt())
        ExErr(218, "CreateSMC()",
              "marking with fireable det/gen transition and no statetransition");
}

// Whether the walk follows edge e of m (whose chain transition is mRef).
bool Follow(Marking& m, int mRef, stt& e, int& preempting, SMCVisited& visited, int code)
{
    if (!m.GetStt().Next()) return false;  // the chain's own firing alone
    switch (e.GetDelayType()) {
        case kDelayExponential:
            if (!FoundNewSMCMember(m, mRef, e, preempting, visited, code)) return false;
            RequireEdges(*e.Target());
            return true;
        case kDelayPreempting:
        case kDelayDeterministic:
        case kDelayGeneral:
            return false;
        case kDelayImmediate:
            ExErr(236, "CreateSMC()", "unexpected imm. delaytype");
        case kDelayProbability:
            ExErr(237, "CreateSMC()", "unexpected pro. delaytype");
        case kDelayMixed:
            ExErr(238, "CreateSMC()", "unexpected mix. delaytype");
        case kDelayAbsorbing:
            ExErr(239, "CreateSMC()", "unexpected abs. delaytype");
        case kDelayUnknown:
            ExErr(240, "CreateSMC()", "unexpected delaytype");
        default:
            ExErr(241, "CreateSMC()", "unexpected delaytype");
    }
}

// Walks the chain from one member not reached before: it becomes an entry
// marking of its chain.
void MakeSMC(Marking& m, int& preempting, SMCVisited& visited, int code)
{
    switch (m.GetStatus()) {
        case kStatusCounted: {
            m.SetStatus(kStatusInitial);
            visited.NewWalk();
            visited.AddMarkingToList(m.GetKey());
            Marking* entry = &m;
            CreateSMC(entry, preempting, visited, code);
            break;
        }
        case kStatusInitial:
            ExErr(263, "MakeSMC()", "found multiple initial marking");
        case kStatusUnknown:
            ExErr(264, "MakeSMC()", "try to make SMC with uncounted marking");
        default:
            break;  // reached from an earlier member
    }
}

}  // namespace

void MakeSMCs(PtrList<SMChain>& chains, int code)
{
    SMCVisited visited;
    for (PLElement<SMChain>* c = chains.first; c; c = c->next) {
        PtrList<Marking>& members = c->item->GetMarkings();
        if (members.count == 0) continue;
        int preempting = 0;
        for (PLElement<Marking>* m = members.first; m; m = m->next)
            MakeSMC(*m->item, preempting, visited, code);
        c->item->SetNoOfPreemptingArcs(preempting);
        c->item->SetNoOfStates(members.count);
    }
}

// Every marking the walk enters belongs to m's chain, so all sources share
// m's chain transition.
void CreateSMC(Marking*& m, int& preempting, SMCVisited& visited, int code)
{
    RequireEdges(*m);
    int chainRef = GetDetOrGenTransRef(*m);
    WalkDepthFirst(*m, [&](Marking& source, stt& e) {
        return Follow(source, chainRef, e, preempting, visited, code);
    });
}
