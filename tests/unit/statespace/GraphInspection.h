// Reading the generated graph in tests: stored markings, their tokens and
// active transition arrays, and their edges in list order.
#pragma once

#include <string>
#include <vector>

#include "netmodel/Place.h"
#include "statedata/Marking.h"

// Every marking of the marking store.
std::vector<Marking*> StoredMarkings();
// Tokens of `place` in the marking's vector.
int Tokens(const Marking& m, const Place* place);
// The ata as a list of entries; empty for a marking without ata.
std::vector<short> AtaOf(const Marking& m);
// The edges in list order.
std::vector<const stt*> Edges(const Marking& m);
// Every stored marking in store order, a line each: its tokens on `places`,
// its ata, its edges with the store numbers of their targets, values and
// transitions.
std::vector<std::string> GraphLines(const std::vector<Place*>& places);
// The stored marking with exactly these token counts (one per place, in
// place order) and this ata; null when there is none.
Marking* FindMarking(const std::vector<int>& tokens, const std::vector<short>& ata);
