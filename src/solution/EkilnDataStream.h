// The data stream that an ekiln worker receives for one general subordinated
// chain, all numbers 32-bit or IEEE double, native byte order, unpadded:
//   info part: class number (int; the chain's position among the general
//     chains + the number of deterministic chains + 1), the length of the
//     transition's name (int) and its characters, then one record per member
//     in visiting order (ChainWalk.h) - state number (unsigned) and a flag
//     byte, 2 for an entry marking and 0 otherwise - and an int 0;
//   Q part, one row per member in visiting order: minus the member's total
//     exponential and preempting rate (double), its state number and the
//     number of its exponential and preempting edges (unsigned each), then
//     for each of these edges in list order its rate (double) and its target
//     (unsigned): the preempting edges are sent like the exponential ones,
//     so that the count and the pairs agree;
//   delta part, one row per member in visiting order: its state number and
//     the number of entries (unsigned each), then the entries (probability
//     double, target unsigned) of FiringRows.h.
// Note that a pair carries the value first, the state number second.
#pragma once

#include "solution/WorkerStream.h"
#include "statedata/SMChain.h"

#include <cstdio>

// The info part of chain number `index` (0-based among the general chains)
// when there are `detCount` deterministic chains.
void SendMDET(WorkerStream& out, SMChain& chain, int index, int detCount);
void SendQ(WorkerStream& out, SMChain& chain);
void SendDELTA(WorkerStream& out, SMChain& chain);

// The socket writer of the general workers.
void Fwrite(const char* data, unsigned size, std::FILE* stream);
