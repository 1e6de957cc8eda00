// Classification of the markings by their outgoing edges, depth first from
// the initial marking: counters, lists and chain membership.
#include <unordered_map>

#include "foundation/Reporters.h"
#include "foundation/RunState.h"
#include "statespace/ExamineRRG.h"
#include "statespace/GraphWalk.h"
#include "statedata/GraphQueries.h"
#include "statedata/MarkingListing.h"
#include "statedata/StateSpaceGlobals.h"

namespace {

// The chains of one class by transition number (the first chain of a number
// in list order), so that a member finds its chain at once.
class ChainIndex {
public:
    explicit ChainIndex(PtrList<SMChain>& chains)
    {
        for (PLElement<SMChain>* c = chains.first; c; c = c->next)
            byTransition.emplace(c->item->GetTransitionRef(), c->item);
    }
    SMChain* Find(int transition) const
    {
        auto it = byTransition.find(transition);
        return it == byTransition.end() ? nullptr : it->second;
    }

private:
    std::unordered_map<int, SMChain*> byTransition;
};

void Count(MarkingCounter counter, bool tangible)
{
    ++MCount[counter];
    if (tangible) ++MCount[kCountTangible];
}

void JoinChain(Marking& m, const ChainIndex& chains, int transRef, int line,
               const char* description)
{
    SMChain* chain = chains.Find(transRef);
    if (!chain) ExErr(line, "CountMarksMakeLists()", description);
    chain->GetMarkings().Append(&m);
}

// The kind of a marking: the code of its first edge, folded with the codes
// of the edges after it. A deterministic or general edge may be listed first
// or follow exponential ones; folding the first edge into itself would
// wrongly reject a marking whose deterministic edge comes first.
int KindOf(const Marking& m, int& transRef)
{
    EdgeCursor first = m.GetStt();
    int kind = first->GetDelayType();
    transRef = first->GetTransNo();
    for (EdgeCursor s = first; s; s = s.Next()) {
        if (s->GetDelayType() == kDelayUnknown)
            ExErr(465, "CountMarksMakeLists()", "statetransition without delay");
        if (!(s == first)) ChkAndSetDT(kind, s->GetDelayType(), transRef, s->GetTransNo());
    }
    return kind;
}

void Classify(Marking& m, const ChainIndex& det, const ChainIndex& gen)
{
    ++MCount[kCountAll];
    m.SetStatus(kStatusCounted);
    if (!m.GetStt()) {
        ++MCount[kCountAbs];
        if (SPECIAL_DEBUG) return;
        ShowMarking(&m);
        ExErr(451, "CountMarksMakeLists()",
              "found absorbing marking, no steady state solution possible !");
    }
    int transRef = 0;
    int kind = KindOf(m, transRef);
    switch (kind) {
        case kDelayImmediate:
            Count(kCountImm, false);
            m.SetType(kind);
            MLists.imm_markings.Append(&m);
            break;
        case kDelayExponential:
            Count(kCountExp, true);
            m.SetType(kind);
            MLists.exp_markings.Append(&m);
            break;
        case kDelayDeterministic:
            Count(kCountDet, true);
            m.SetType(kind);
            JoinChain(m, det, transRef, 489, "can't save deterministic marking");
            break;
        case kDelayGeneral:
            Count(kCountGen, true);
            m.SetType(kind);
            JoinChain(m, gen, transRef, 506, "can't save general marking");
            break;
        case kDelayProbability: {
            Count(kCountPro, false);
            m.SetType(kind);
            Marking* self = &m;
            ChkIntermediateMark(self);
            MLists.pro_markings.Append(&m);
            break;
        }
        case kDelayUnknown:
            ExErr(527, "CountMarksMakeLists()", "statetransition without rate/delay");
        case kDelayAbsorbing:
            ExErr(528, "CountMarksMakeLists()", "unallowed absorbing statetransition");
        case kDelayPreempting:
            ExErr(529, "CountMarksMakeLists()", "unallowed preempting statetransition");
        case kDelayMixed:
            ExErr(530, "CountMarksMakeLists()", "unallowed mixed statetransition");
        default:
            break;
    }
}

}  // namespace

void CountMarksMakeLists(Marking*& m)
{
    if (!m || m->GetStatus() == kStatusCounted) return;
    ChainIndex det(MLists.det_smcs);
    ChainIndex gen(MLists.gen_smcs);
    Classify(*m, det, gen);
    WalkDepthFirst(*m, [&det, &gen](Marking&, stt& e) {
        Marking* t = e.Target();
        if (!t || t->GetStatus() == kStatusCounted) return false;
        Classify(*t, det, gen);
        return true;
    });
}

void ChkAndSetDT(int& kind, int code, int& transRef, int trans)
{
    switch (kind) {
        case kDelayUnknown:
            ExErr(425, "ChkAndSetDT()", "state-transition without delay");
        case kDelayImmediate:
            if (code != kDelayImmediate) ExErr(396, "ChkAndSetDT()", "imm/xxx statetransition mix");
            break;
        case kDelayExponential:
            if (code == kDelayImmediate) ExErr(416, "ChkAndSetDT()", "exp/imm statetransition mix");
            if (code == kDelayProbability)
                ExErr(419, "ChkAndSetDT()", "exp/pro statetransition mix");
            kind = code;
            transRef = trans;
            break;
        case kDelayPreempting:
            ExErr(427, "ChkAndSetDT()", "unallowed preempting-state-transition");
        case kDelayDeterministic:
            if (code != kDelayExponential)
                ExErr(411, "ChkAndSetDT()", "det/xxx statetransition mix");
            break;
        case kDelayGeneral:
            if (code != kDelayExponential)
                ExErr(406, "ChkAndSetDT()", "gen/xxx statetransition mix");
            break;
        case kDelayProbability:
            if (code != kDelayProbability)
                ExErr(401, "ChkAndSetDT()", "pro/xxx statetransition mix");
            break;
        case kDelayMixed:
            ExErr(428, "ChkAndSetDT()", "unallowed mixed-state-transition");
        case kDelayAbsorbing:
            ExErr(426, "ChkAndSetDT()", "unallowed absorbing-state-transition");
        default:
            break;
    }
}

void ChkIntermediateMark(Marking*& m)
{
    int common = 0;
    for (const stt& s : m->Edges()) {
        if (!s.Target()) continue;
        int ref = GetDetOrGenTransRef(*s.Target());
        if (ref == 0) continue;
        if (common == 0)
            common = ref;
        else if (ref != common)
            ExErr(381, "ChkIntermediateMark()",
                  "more than one det/gen transition is fireable in one marking");
    }
}
