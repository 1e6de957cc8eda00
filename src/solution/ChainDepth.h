// How many steps of the chain separate its states from one state: the
// breadth-first depth of the matrix's pattern (row i holds the states that
// lead to state i). A solution carried along a path of the chain gathers
// rounding at every step of it.
#pragma once

// The largest number of steps from `from` to any state it reaches through
// the entries of the row-pointer matrix (rows and columns 1..n).
int chain_depth(int n, const int* ia, const int* ja, int from);
