// Depth-first walks over the edges of a graph of markings with an explicit
// stack, so that graphs of millions of markings cannot exhaust the call
// stack. The order is that of the recursive walk
//     visit(m): for each edge e of m in list order: if descend(m, e) visit(e.target)
// including the moment at which a target's edge list is read: only when the
// walk enters it, after `descend` has run (which may still add its edges).
// Works for the graph markings (edges by cursor) and the vanishing markings
// (linked edges).
#pragma once

#include <cstdint>
#include <vector>

#include "statedata/LinkedEdge.h"
#include "statedata/Marking.h"
#include "statedata/MarkingIds.h"
#include "statedata/NPMarking.h"

namespace walk_detail {

// A graph marking's frame: its id and the number of its edges not yet
// taken, 8 bytes, since a walk through a long chain of markings holds tens
// of millions of frames. The edges still to take are the oldest of its run,
// which keep their places in it when the run grows.
struct MarkingFrame {
    std::uint32_t id;
    std::uint32_t left;
};

// Most edges of a large graph lead to markings the walk has seen, which it
// only looks at; their records lie all over the store. They are fetched
// together as the walk enters a marking, so that looking at them does not
// wait for one after the other.
inline MarkingFrame Enter(Marking& m)
{
    for (std::uint32_t k = m.EdgeCount(); k-- > 0;)
        if (const Marking* target = m.OldestEdge(k).Target()) __builtin_prefetch(target);
    return MarkingFrame{m.Id(), m.EdgeCount()};
}

// The frame's next edge (null when none is left) and its marking.
inline stt* Take(MarkingFrame& f, Marking*& source)
{
    if (f.left == 0) return nullptr;
    source = MarkingIds::Find(f.id);
    return &source->OldestEdge(--f.left);
}

// A vanishing marking's frame: the walks over them stay small.
struct VanishingFrame {
    NPMarking* source;
    npstt* next;
};

inline VanishingFrame Enter(NPMarking& m) { return VanishingFrame{&m, m.GetStt()}; }

inline npstt* Take(VanishingFrame& f, NPMarking*& source)
{
    npstt* e = f.next;
    if (e) f.next = e->next;
    source = f.source;
    return e;
}

}  // namespace walk_detail

template <class M, class Descend>
void WalkDepthFirst(M& root, Descend descend)
{
    using Frame = decltype(walk_detail::Enter(root));
    std::vector<Frame> stack;
    stack.push_back(walk_detail::Enter(root));
    while (!stack.empty()) {
        M* source = nullptr;
        auto* e = walk_detail::Take(stack.back(), source);
        if (!e) {
            stack.pop_back();
            continue;
        }
        if (descend(*source, *e)) stack.push_back(walk_detail::Enter(*e->Target()));
    }
}
