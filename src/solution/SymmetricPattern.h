// The pattern of A + A^T on a set of rows of A, the graph that fill-reducing
// orderings and symbolic counts work on: vertices 0..size-1 stand for the
// chosen rows, no diagonal, each neighbour once.
#pragma once

#include <vector>

struct SymmetricPattern {
    std::vector<int> start;     // neighbours of v at adjacent[start[v] .. start[v+1]-1]
    std::vector<int> adjacent;  // 0-based vertices
    int Size() const { return static_cast<int>(start.size()) - 1; }
};

// The pattern on the rows `rows` (1-based row numbers of A in 1-based
// row-pointer form; vertex v is rows[v]), or on all n rows when `rows` is
// empty. Throws std::bad_alloc when memory runs out.
SymmetricPattern symmetric_pattern(int n, const int* ia, const int* ja,
                                   const std::vector<int>& rows = {});

// `count` rows around row 1: those reached first by a breadth-first walk
// along the entries of A (from a state to the states it is reached from),
// continued from the lowest unreached row when a walk ends. Any set of rows
// bounds the fill of the whole from below; a connected neighbourhood is where
// the fill of the whole shows first.
std::vector<int> rows_around_the_first(int n, const int* ia, const int* ja, int count);
