// The member list of a deterministic chain, for its kiln_da worker: the
// worker receives the rows in visiting order but the targets of the
// preempting edges member by member in list order, and pairs the two with
// this file. Text file <TmpD>/<netname>.SMCORDER<class, two digits>: the
// number of members on the first line, then one state number per line in
// member-list order. Written before the worker starts, removed after all
// deterministic workers have finished.
#pragma once

#include "statedata/SMChain.h"

#include <string>

std::string MemberOrderPath(int class_id);
void WriteMemberOrder(const SMChain& chain, int class_id);
void RemoveMemberOrder(int class_id);
