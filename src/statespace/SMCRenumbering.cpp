// Final numbering of the chains: inside its block, each chain is numbered
// depth first from its entry markings, so that a chain's markings follow
// its exponential edges. Statuses 4 and 6 mark the markings numbered here
// and are turned back into 3 and 5 at the end.
#include <iostream>

#include "foundation/Reporters.h"
#include "statespace/ExamineRRG.h"
#include "statespace/GraphWalk.h"
#include "statedata/GraphQueries.h"

namespace {

bool NumberedOrEntry(unsigned status)
{
    return status == kStatusInitial || status == kStatusRVisited || status == kStatusRLastOfSucc;
}

unsigned NumberChain(SMChain& chain, int code)
{
    PtrList<Marking>& members = chain.GetMarkings();
    unsigned start = members.first->item->GetKey();
    unsigned next = start;
    for (PLElement<Marking>* m = members.first; m; m = m->next) {
        if (m->item->GetStatus() != kStatusInitial) continue;
        m->item->SetKey(next++);
        RenumberSMC(m->item, next, code);
    }
    if (next - start != static_cast<unsigned>(chain.GetNoOfStates())) {
        std::cout << "size      = " << chain.GetNoOfStates() << "\n"
                  << "old_m_num = " << start << "\n"
                  << "m_counter = " << next << "\n";
        ExErr(124, "RenumberDetGenMarks()", "couldn't number all markings of a SMC");
    }
    return next - start;
}

void ResetRenumberedStatus(PtrList<SMChain>& chains)
{
    for (PLElement<SMChain>* c = chains.first; c; c = c->next)
        for (PLElement<Marking>* m = c->item->GetMarkings().first; m; m = m->next) {
            if (m->item->GetStatus() == kStatusRVisited) m->item->SetStatus(kStatusVisited);
            if (m->item->GetStatus() == kStatusRLastOfSucc) m->item->SetStatus(kStatusLastOfSucc);
        }
}

}  // namespace

void RenumberDetGenMarks(PtrList<SMChain>& chains, unsigned count, int code)
{
    unsigned numbered = 0;
    for (PLElement<SMChain>* c = chains.first; c; c = c->next)
        if (c->item->GetMarkings().count != 0) numbered += NumberChain(*c->item, code);
    if (numbered != count)
        ExErr(130, "RenumberDetGenMarks()", "couldn't number all markings of all SMCs");
    ResetRenumberedStatus(chains);
}

// Every marking the walk enters belongs to m's chain, so all sources share
// m's chain transition.
void RenumberSMC(Marking*& m, unsigned& next, int code)
{
    int chainRef = GetDetOrGenTransRef(*m);
    WalkDepthFirst(*m, [&](Marking&, stt& e) {
        Marking& t = *e.Target();
        int ref = GetDetOrGenTransRef(t);
        if (ref == 0 || static_cast<int>(t.GetType()) != code || ref != chainRef) return false;
        if (NumberedOrEntry(t.GetStatus())) return false;
        t.SetKey(next++);
        if (t.GetStatus() == kStatusVisited) t.SetStatus(kStatusRVisited);
        if (t.GetStatus() == kStatusLastOfSucc) t.SetStatus(kStatusRLastOfSucc);
        return true;
    });
}
