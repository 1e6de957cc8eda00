// Listing of markings on standard output for the graph listings and the
// examination's error reports.
#pragma once

#include "statedata/Multiset.h"

class Marking;

// Name of a marking status code ("unknown" for anything out of range).
const char* MStatusName(int status);
// Print the name of a status / delay-type code (no line end).
void ShowMStatus(int status);
void ShowDelayType(int type);

// One line with the active-transition array ("none" when null).
void ShowAta(const short* ata);
// One line per non-empty place, or "empty marking".
void ShowPms(const Pms& pms);
// Key/number, status, type, ata and vector; "\tmarking is NULL-pointer" for null.
void ShowMarking(const Marking* m);
