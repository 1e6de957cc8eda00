// Chains for the end-to-end tests of the workers. (Their rows against closed
// forms are checked through whole runs of mosk: the M/D/1/K and M/U/1/K
// queues and the preempted chains of the end-to-end cases.)
//
// Queue chain: chain state for n = 1..K customers is first + n - 1, the
// empty queue is state 1 outside the chain. Arrivals at rate lambda move n
// to n + 1 below K; the firing serves one customer.
//
// Preempted chain: states 5 and 6 (outside states 1 and 2). 5 moves to 6 at
// 2.0 and is preempted to 1 at 0.5; 6 is preempted to 2 at 1.25 and to 1 at
// 0.25. Firing from 5 branches to 1 (0.3) and 2 (0.7), from 6 back to 5.
#pragma once

#include "harness/EngineSide.h"
#include "harness/WorkerRun.h"

TestChain QueueChain(int capacity, double lambda, std::uint32_t first, double tau);
TestChain PreemptedChain(int classNumber, double tau);
