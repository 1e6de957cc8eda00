// Chains of the end-to-end tests.
#include "harness/TestChains.h"

TestChain QueueChain(int capacity, double lambda, std::uint32_t first, double tau)
{
    TestChain chain;
    chain.delay = tau;
    for (int n = 1; n <= capacity; ++n) {
        TestState s;
        s.state = first + n - 1;
        if (n < capacity) s.moves.push_back({s.state + 1, lambda, false});
        s.firing.emplace_back(n == 1 ? 1u : s.state - 1, 1.0);
        chain.members.push_back(s);
        chain.visiting.push_back(static_cast<std::size_t>(n - 1));
    }
    return chain;
}

TestChain PreemptedChain(int classNumber, double tau)
{
    TestChain chain;
    chain.classNumber = classNumber;
    chain.delay = tau;
    chain.members = {
        {6, {{2, 1.25, true}, {1, 0.25, true}}, {{5, 1.0}}},
        {5, {{6, 2.0, false}, {1, 0.5, true}}, {{1, 0.3}, {2, 0.7}}},
    };
    chain.visiting = {1, 0};  // entered at 5, listed after 6
    return chain;
}
