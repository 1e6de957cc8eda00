// The member list of a deterministic chain, which kiln_da needs to pair the
// preempting rates of the Q rows with their targets (the stream sends the
// targets in member-list order but the rows in visiting order). The engine
// writes it as the text file <TmpD>/<netname>.SMCORDER<class, two digits>:
// a first line with the number of members, then one state number per line in
// member-list order. The engine removes the file after the workers finished.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "workers/KilnStream.h"

std::string MemberOrderPath(const std::string& tmpDir, const std::string& netName, int classNumber);

bool ReadMemberOrder(const std::string& path, std::vector<std::uint32_t>& order,
                     std::string& error);

// Adds the preempting moves to the chain: member by member in list order,
// each taking as many targets as it has preempting rates, rate i of a member
// with target i of its share.
bool PairPreemptingArcs(KilnInput& input, const std::vector<std::uint32_t>& order,
                        std::string& error);
