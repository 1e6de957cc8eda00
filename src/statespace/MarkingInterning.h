// Interning of an explored marking: the stored copy, and the edge to it
// from LastMarking.
#pragma once

#include "statedata/Multiset.h"

class DelayVal;
class Marking;
class PendingMarking;

// The stored marking with this vector and ata, stored now unless an equal
// one is stored already (found).
Marking* StoreMarking(const Pms& pms, const short* ata, bool& found);

// Stores `marking` in MHash unless an equal one is stored, and links
// LastMarking to the stored marking with `edge` (an edge to a marking stored
// before may merge with an equal probability edge). Answers the stored
// marking; `found` tells whether it was stored before.
Marking* InternMarking(const PendingMarking& marking, const DelayVal& edge, bool& found);

// The edge InternMarking adds for a marking it finds stored: from `source`
// to `stored`.
void LinkToStored(Marking& source, Marking& stored, const DelayVal& edge);
// The same for the marking with this number in MHash, which is read only
// when the edge may merge.
void LinkToStored(Marking& source, unsigned number, const DelayVal& edge);
