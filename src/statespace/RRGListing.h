// Listings of the reduced reachability graph on standard output: the
// counters of the examination and every marking reachable from the initial
// marking with its edges, each marking once, depth first. ShowRRG lists
// markings and edges in full, ShowSmallRRG sparsely.
#pragma once

void ShowRRG();
void ShowSmallRRG();
