// Reduced reachability graphs built by hand, registered in MLists and MCount
// the way the examination leaves them: markings with their state numbers as
// keys, edges in a chosen order, subordinated chains with their members.
#pragma once

#include "statedata/StateSpaceGlobals.h"

#include <deque>
#include <initializer_list>

struct HandEdge {
    Marking* target;
    double value;
    int type = kDelayExponential;
    short transition = 1;
};

class HandGraph {
public:
    HandGraph() { Reset(); }
    ~HandGraph() { Reset(); }
    HandGraph(const HandGraph&) = delete;
    HandGraph& operator=(const HandGraph&) = delete;

    // An exponential marking with state number `key`.
    Marking& Exp(unsigned key)
    {
        Marking& m = NewMarking(key, kStatusCounted);
        MLists.exp_markings.Append(&m);
        ++MCount[kCountExp];
        ++MCount[kCountTangible];
        return m;
    }

    SMChain& DetChain(int transition) { return NewChain(MLists.det_smcs, transition); }
    SMChain& GenChain(int transition) { return NewChain(MLists.gen_smcs, transition); }

    // A member of a chain with the status the examination gave it.
    Marking& Member(SMChain& chain, unsigned key, unsigned status)
    {
        Marking& m = NewMarking(key, status);
        chain.GetMarkings().Append(&m);
        chain.SetNoOfStates(chain.GetMarkings().count);
        ++MCount[kCountTangible];
        return m;
    }

    // A marking outside every list and count (a target only).
    Marking& Loose(unsigned key) { return NewMarking(key, kStatusCounted); }

    // The edges of `from`, in the given list order.
    static void Edges(Marking& from, std::initializer_list<HandEdge> edges)
    {
        for (auto e = edges.end(); e != edges.begin();) {
            --e;
            from.AddMarking(e->target, DelayVal(e->value, e->type, e->transition));
        }
    }

private:
    static void Reset()
    {
        MLists.det_smcs.SoftClear();
        MLists.gen_smcs.SoftClear();
        MLists.exp_markings.SoftClear();
        for (unsigned& c : MCount) c = 0;
    }

    Marking& NewMarking(unsigned key, unsigned status)
    {
        Marking& m = markings_.emplace_back();
        m.SetKey(key);
        m.SetStatus(status);
        return m;
    }

    SMChain& NewChain(PtrList<SMChain>& list, int transition)
    {
        SMChain& c = chains_.emplace_back(transition);
        list.Append(&c);
        return c;
    }

    std::deque<Marking> markings_;
    std::deque<SMChain> chains_;
};
