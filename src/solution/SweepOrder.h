// The order in which a Gauss-Seidel sweep visits the states. A sweep
// converges the faster the more of each state's inflow it reads from states
// already updated in the same sweep; the chain's own numbering (the order in
// which the graph was explored from the initial marking) reads only about
// 45 % that way on the kanban chains, the reverse of a breadth-first search
// over the inflows 75 %, and Gauss-Seidel then needs half the sweeps
// (kanban N=4: 220 against 465). On other chains (the deterministic family)
// the reverse order is worse, so the choice is made on the measured share.
#pragma once

#include "solution/Relaxation.h"

#include <vector>

class SweepOrder {
public:
    // The reverse breadth-first order of s's states: a search from state 1
    // (and from each state not yet reached, in turn) that follows each row's
    // columns, that is a state's inflows, reversed.
    SweepOrder(int n, const ScaledMatrix& s);

    // The shares of the inflow sum_j |s_ij| x_j over all rows that a sweep in
    // the natural order and one in this order read from states they have
    // updated already, found in one pass.
    struct Shares {
        double natural;
        double reordered;
    };
    Shares UpdatedShares(const ScaledMatrix& s, const double* x) const;

    // Renumbers s's rows and columns into this order where they lie, so that
    // the chain is never held twice (a renumbered copy raised kanban N=5's
    // peak from 753 to 1,111 MB). The rows are
    // gathered a share at a time into a buffer, the rows left are packed
    // against the end of the arrays behind the place the share fills, and
    // the buffer is copied there. s.ia and s.d are replaced by arrays
    // allocated as scal() allocates them.
    void Renumber(ScaledMatrix& s) const;

    // x (1..n) from the natural numbering into this order and back.
    void ToOrder(const double* x, double* into) const;
    void FromOrder(const double* x, double* into) const;

private:
    // Moves the entries of s's rows, whose values are `value` (s.a or
    // s.code), into the order of s.ia, already renumbered; the old rows
    // start at begin[i - 1] and hold length[i] entries.
    template <class Value>
    void RenumberEntries(ScaledMatrix& s, std::vector<int>& begin, const std::vector<int>& length,
                         Value* value) const;

    int n;
    std::vector<int> state;     // state[r]: the state visited r-th (1-based)
    std::vector<int> position;  // position[i]: where state i is visited
};
