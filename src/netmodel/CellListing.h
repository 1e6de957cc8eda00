// Listing of expressions and token multisets for the class listing: an
// expression is written on one line in the notation of the description
// (operators between parentheses, "#p" and "@p" for the place functions).
#pragma once

#include <string>

#include "statedata/Multiset.h"

class Cell;

// The expression on one line ("?" for null), and a multiset as
// "{<q>*<no>, ...}" in list order.
std::string CellText(const Cell* cell);
std::string TmsText(const Tms* tms);

// One line, indented by a tab; "\tno cell" for null.
void ShowCell(const Cell* cell);
// One line per element ("\ttoken = <no> quant = <q>", with the colour's name
// when the token has one); "\tempty tokenmultiset" for an empty multiset.
void ShowTms(const Tms* tms);
