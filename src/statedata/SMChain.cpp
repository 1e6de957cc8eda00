// SMChain: numbers and members of one subordinated chain.
#include "statedata/SMChain.h"

double SMChain::GetDetOrGenDelay() const
{
    const Marking* first = markings.GetLE(1);
    if (!first) return 0.0;
    for (const stt& s : first->Edges())
        if (s.GetDelayType() == kDelayDeterministic || s.GetDelayType() == kDelayGeneral)
            return s.GetDelayVal();
    return 0.0;
}

bool SMChain::operator==(const SMChain& o) const
{
    return transition_ref == o.transition_ref && no_of_states == o.no_of_states &&
           first_state_number == o.first_state_number;
}

void SMChain::Clear()
{
    markings.SoftClear();
    transition_ref = -1;
    no_of_states = 0;
    first_state_number = 0;
    no_of_preempting_arcs = 0;
}
