// SMChain: one subordinated Markov chain, the markings in which one
// deterministic or general transition is enabled, with the numbers the
// examination gives it. The member list refers to stored markings.
#pragma once

#include "foundation/PtrList.h"
#include "statedata/Marking.h"

class SMChain {
public:
    SMChain() = default;
    explicit SMChain(int transition) : transition_ref(transition) {}

    int GetTransitionRef() const { return transition_ref; }
    void ChangeTransitionRef(int t) { transition_ref = t; }
    int GetNoOfStates() const { return no_of_states; }
    void SetNoOfStates(int n) { no_of_states = n; }
    unsigned GetFirstStateNumber() const { return first_state_number; }
    void SetFirstStateNumber(unsigned n) { first_state_number = n; }
    int GetNoOfPreemptingArcs() const { return no_of_preempting_arcs; }
    void SetNoOfPreemptingArcs(int n) { no_of_preempting_arcs = n; }
    PtrList<Marking>& GetMarkings() { return markings; }
    const PtrList<Marking>& GetMarkings() const { return markings; }

    // Value of the first deterministic or general edge of the first member,
    // 0 when there is none.
    double GetDetOrGenDelay() const;

    // Equal transition, number of states and first state number.
    bool operator==(const SMChain& o) const;
    bool operator!=(const SMChain& o) const { return !(*this == o); }

    // Empties the member list (markings stay) and resets the numbers.
    void Clear();

private:
    int transition_ref = -1;
    int no_of_states = 0;
    unsigned first_state_number = 0;
    int no_of_preempting_arcs = 0;
    PtrList<Marking> markings;
};
