// Listing of expressions and token multisets for the class listing: an
// expression is written on one line in the notation of the description
// (operators between parentheses, "#p" and "@p" for the place functions).
#pragma once

#include "statespace/data/Multiset.h"

class Cell;

// One line, indented by a tab; "\tno cell" for null.
void ShowCell(const Cell* cell);
// One line per element ("\ttoken = <no> quant = <q>", with the colour's name
// when the token has one); "\tempty tokenmultiset" for an empty multiset.
void ShowTms(const Tms* tms);
