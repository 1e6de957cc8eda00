// Activation of exclusive transitions: a tree whose levels are the exclusive
// transitions in class order. A node that activates transition i gets one
// child per enabled binding (probability weight / total weight); every path
// of the tree considers every transition once. The leaves, with the product
// of the probabilities on their path, are the branches. The tree is walked
// depth first with an explicit stack and reduced while it is built.
#include "statespace/Activation.h"

#include <vector>

#include "netmodel/MarkingVectors.h"
#include "netmodel/NetArrays.h"
#include "netmodel/Transition.h"
#include "statespace/GenerationState.h"
#include "statespace/data/Marking.h"
#include "statespace/data/NetCounts.h"
#include "statespace/data/TNos.h"

namespace {

// Frees the branches a transition added to `node` without activating
// anything (its weights summed to zero): the node stays unchanged.
void DropBranches(exc_marks& node)
{
    if (!node.more) return;
    exc_marks detached;
    init_ems(detached);
    detached.more = node.more;
    node.more = nullptr;
    node.last = nullptr;
    clear_ems(detached);
}

// Considers the exclusive transitions from i on for one node and stops at
// the first that branches it (i then names that transition).
bool ChkAndActExc(exc_marks& node, unsigned short& i)
{
    for (; i < no_of_exc_transitions; ++i) {
        if (RefTNos.exc[i] == 0) continue;
        if (node.ata && node.ata[i] != 0) continue;
        if (ExcTrans[i]->ChkAndActExc(node)) return true;
        DropBranches(node);
    }
    return false;
}

struct Pending {
    exc_marks* node;
    unsigned short next;  // the first transition still to consider
    double path;          // product of the probabilities above the node
};

}  // namespace

void NewInitExc(short reload)
{
    ExcStartAta = NewMarking->GetAta();
    RefTNos = *NewTNos;
    clear_em(ExcStartMark);
    if (reload) InitRefPms(NewMarking->GetPms());
}

void ImmInitExc(stt*& s, TNos*& t)
{
    ExcStartAta = s->marking->GetAta();
    RefTNos = *t;
    clear_em(ExcStartMark);
    InitRefPms(s->marking->GetPms());
}

void HandleExcTransitions()
{
    exc_marks root;
    init_ems(root);
    static_cast<DelayVal&>(root) = DelayVal(1.0, kDelayProbability);
    root.used = 1;
    root.ata = ExcStartAta;  // only read: children take their own arrays

    static std::vector<Pending> stack;
    static std::vector<exc_marks*> children;
    stack.assign(1, Pending{&root, 0, 1.0});
    while (!stack.empty()) {
        Pending p = stack.back();
        stack.pop_back();
        if (ChkAndActExc(*p.node, p.next)) {
            children.clear();
            for (exc_marks* c = p.node->more; c; c = c->next) children.push_back(c);
            // Reversed, so that the first child's subtree is handled first.
            for (auto c = children.rbegin(); c != children.rend(); ++c)
                stack.push_back(Pending{*c, static_cast<unsigned short>(p.next + 1),
                                        p.path * (*c)->GetDelayVal()});
        } else if (p.node != &root) {
            add_em(ExcStartMark, DelayVal(p.path, kDelayProbability), p.node->ata);
        }
    }
    root.ata = nullptr;
    clear_ems(root);
}

void ClearNewExc() { clear_em(ExcStartMark); }
