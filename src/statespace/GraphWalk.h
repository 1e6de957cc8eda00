// Depth-first walks over the edges of a graph of markings with an explicit
// stack, so that graphs of millions of markings cannot exhaust the call
// stack. The order is that of the recursive walk
//     visit(m): for each edge e of m in list order: if descend(m, e) visit(e.target)
// including the moment at which a target's edge list is read: only when the
// walk enters it, after `descend` has run (which may still add its edges).
// Works for the graph markings (edges by cursor) and the vanishing markings
// (linked edges).
#pragma once

#include <vector>

#include "statedata/LinkedEdge.h"
#include "statedata/Stt.h"

namespace walk_detail {
inline EdgeCursor Following(const EdgeCursor& e) { return e.Next(); }
template <class M>
StateTrans<M>* Following(StateTrans<M>* e)
{
    return e->next;
}
}  // namespace walk_detail

template <class M, class Descend>
void WalkDepthFirst(M& root, Descend descend)
{
    using Position = decltype(root.GetStt());
    struct Frame {
        M* source;
        Position next;
    };
    std::vector<Frame> stack;
    stack.push_back(Frame{&root, root.GetStt()});
    while (!stack.empty()) {
        Frame& top = stack.back();
        Position e = top.next;
        if (!e) {
            stack.pop_back();
            continue;
        }
        top.next = walk_detail::Following(e);
        M* source = top.source;
        if (descend(*source, *e)) stack.push_back(Frame{e->Target(), e->Target()->GetStt()});
    }
}
