// The data stream that a kiln_da worker receives for one deterministic
// subordinated chain:
//   class_id, no_states, first_state_no (unsigned), no_preempting_arcs,
//   no_total_csmcs = 1, acyclic = 0, branch = 0;
//   one Q row per member in visiting order (ChainWalk.h):
//     last_of_scc = 0, no_n_states, no_n_states pairs (state unsigned, rate
//     double) in ascending state order - the member's own state with minus
//     its total exponential and preempting rate, and one pair per
//     exponential edge - then no_p_states and the preempting rates in the
//     reverse of their list order; a member whose only edge is its
//     deterministic firing sends 0, 1, (own state, 0.0), 0;
//   no_tau_csmcs = 1, 1, tau, md_tau = 0, tau;
//   one delta row per member in visiting order: 1, no_n_states, pairs
//     (state, probability) in ascending state order;
//   the targets of the preempting edges, member by member in list order.
// All ints and unsigneds are 32 bits, in native byte order, unpadded.
#pragma once

#include "solution/WorkerStream.h"
#include "statedata/SMChain.h"

#include <cstdio>

// Writes the whole stream for `chain` with class number `class_id`.
void SendDataToKiln(std::FILE* stream, SMChain*& chain, int& class_id);

// The Q rows and the delta rows of all members, in visiting order. Members
// other than the entry markings get the status "q sended" and "d sended".
void SendQMatrix(SMChain& chain, WorkerStream& out);
void SendDeltaMatrix(SMChain& chain, WorkerStream& out);

// The socket writer of the deterministic workers.
void my_fwrite(const char* data, unsigned size, std::FILE* stream);
