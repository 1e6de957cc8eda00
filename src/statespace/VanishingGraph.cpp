// Walks over the vanishing graph of one resolution: propagation of values,
// the loop check, the collection of the tangible leaves, and the refresh of
// their active transition arrays. The graph is acyclic (the loop check
// stops the run before a cycle is closed) but may be reached along many
// paths; every walk uses an explicit stack.
#include <algorithm>
#include <unordered_set>
#include <vector>

#include "foundation/Reporters.h"
#include "netmodel/MarkingVectors.h"
#include "netmodel/NetArrays.h"
#include "netmodel/Transition.h"
#include "statespace/GenerationState.h"
#include "statespace/GraphWalk.h"
#include "statespace/HandleImmTransitions.h"
#include "statedata/PendingMarking.h"
#include "statedata/NPMarking.h"
#include "statedata/NetCounts.h"
#include "statedata/TNos.h"

namespace {

// The reached tangible marking of leaf `t` joins the results.
void Collect(NPMarking& t)
{
    auto* reached = new PendingMarking(t.GetPms(), NewMarking->GetAta());
    TNos*& set = t.GetTNos();
    ImmReached.push_back(ReachedMarking{reached, DelayVal(t.GetDelayVal(), kDelayImmediate), set});
    set = nullptr;
}

bool ActiveBindingEnabled(const Transition& t, short k)
{
    if (!t.IsActEnabled() || !t.GetBindings()) return false;
    const Binding* b = t.GetBindings()->GetLE(k);
    return b && b->IsActEnabled();
}

}  // namespace

// The recursive form: old = node.value; node.value = v; for each edge e to
// t: ChangeAllDelays(t, t.value - old * e + v * e). Each path passes its
// own share of the change on, so a node reached along several paths
// receives each share in turn, in this order.
void ChangeAllDelays(NPMarking& node, double value)
{
    struct Frame {
        NPMarking* node;
        double old;
        double now;
        npstt* next;
    };
    std::vector<Frame> stack;
    stack.push_back(Frame{&node, node.GetDelayVal(), value, node.GetStt()});
    node.SetDelayVal(value);
    while (!stack.empty()) {
        Frame& top = stack.back();
        npstt* e = top.next;
        if (!e) {
            stack.pop_back();
            continue;
        }
        top.next = e->next;
        NPMarking& t = *e->Target();
        double edge = e->GetDelayVal();
        double now = t.GetDelayVal() - top.old * edge + top.now * edge;
        stack.push_back(Frame{&t, t.GetDelayVal(), now, t.GetStt()});
        t.SetDelayVal(now);
    }
}

void EndlessLoop(NPMarking& m, NPMarking& start)
{
    static std::unordered_set<const NPMarking*> seen;
    static std::vector<const NPMarking*> pending;
    seen.clear();
    pending.assign(1, &start);
    while (!pending.empty()) {
        const NPMarking* n = pending.back();
        pending.pop_back();
        if (n == &m) ImmErr(147, "EndlessLoop()", "marking exists in own line");
        for (const npstt* e = n->GetStt(); e; e = e->next)
            if (seen.insert(e->Target()).second) pending.push_back(e->Target());
    }
}

// A node with edges is walked once (its set is freed on the way; a freed set
// marks it walked: a second walk would find only collected leaves). A leaf
// is collected once; its key 0 marks it collected.
void Reduce(NPMarking& node)
{
    std::size_t first = ImmReached.size();
    WalkDepthFirst(node, [](NPMarking&, npstt& e) {
        NPMarking& t = *e.Target();
        if (t.GetStt()) {
            if (!t.GetTNos()) return false;
            t.SetTNos(nullptr);
            return true;
        }
        if (t.GetKey() != 0) {
            t.SetKey(0);
            Collect(t);
        }
        return false;
    });
    // The results are handled newest first, as edges are listed.
    std::reverse(ImmReached.begin() + static_cast<std::ptrdiff_t>(first), ImmReached.end());
}

void CheckActTransArrays()
{
    const short* from = NewMarking->GetAta();
    if (!from || no_of_exc_transitions == 0) return;
    for (ReachedMarking& r : ImmReached) {
        PendingMarking& reached = *r.marking;
        InitActPms(reached.GetPms());
        short* ata = reached.GetAta();
        for (unsigned short i = 0; i < no_of_exc_transitions; ++i) {
            ata[i] = 0;
            if (from[i] != 0 && ActiveBindingEnabled(*ExcTrans[i], from[i])) ata[i] = from[i];
        }
    }
}
