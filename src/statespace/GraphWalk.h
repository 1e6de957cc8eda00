// Depth-first walks over the edges of a graph of markings with an explicit
// stack, so that graphs of millions of markings cannot exhaust the call
// stack. The order is that of the recursive walk
//     visit(m): for each edge e of m in list order: if descend(m, e) visit(e.target)
// including the moment at which a target's edge list is read: only when the
// walk enters it, after `descend` has run (which may still add its edges).
#pragma once

#include <vector>

#include "statedata/Stt.h"

template <class M, class Descend>
void WalkDepthFirst(M& root, Descend descend)
{
    struct Frame {
        M* source;
        StateTrans<M>* next;
    };
    std::vector<Frame> stack;
    stack.push_back(Frame{&root, root.GetStt()});
    while (!stack.empty()) {
        Frame& top = stack.back();
        StateTrans<M>* e = top.next;
        if (!e) {
            stack.pop_back();
            continue;
        }
        top.next = e->next;
        M* source = top.source;
        if (descend(*source, *e)) stack.push_back(Frame{e->Target(), e->Target()->GetStt()});
    }
}
