// The accumulation of rating cells over the tangible markings. Each marking
// is weighted by its steady-state probability; a cell is evaluated with the
// marking loaded into the places. All cells of a pass share one walk over a
// list, so that each marking is loaded once however many measures read it.
#pragma once

#include "foundation/PtrList.h"
#include "netmodel/Cell.h"
#include "statedata/Marking.h"

#include <vector>

// The sums of one rating cell (Q: the condition's mass, S: the measured
// mass) by its rating type:
//   probability: S += pi(M) where the condition holds;
//   expectation: S += trunc(value) * pi(M): formed from whole numbers;
//   conditional probability: Q += pi(M) where the condition holds,
//     S += pi(M) where both hold;
//   conditional expectation: where the condition holds, Q += pi(M) and
//     S += trunc(value) * pi(M);
//   throughput: S += rate * pi(M) over the edges of the cell's transition.
struct RatingSums {
    explicit RatingSums(Cell* cell);

    // Adds the marking's share; its places are loaded unless the cell is a
    // throughput, which reads only the edges. `error` bounds the absolute
    // error of pi and is added, with the weight's magnitude, to dQ and dS;
    // `steps` are pi's signed error directions (pi_error_steps), added with
    // the weight's sign to stepQ and stepS.
    void Add(const Marking& m, double pi, double error, const std::vector<double>& steps);
    bool NeedsPlaces() const { return type != Throughput; }

    Cell* cell;
    int type;
    int transition = 0;  // of a throughput
    double Q = 0.0;
    double S = 0.0;
    double dQ = 0.0;  // bounds of the absolute errors of Q and S
    double dS = 0.0;
    std::vector<double> stepQ;  // per error direction, the signed sums
    std::vector<double> stepS;

private:
    // Adds pi's share with the weight w to Q or S and their errors.
    void AddWeighted(double w, double pi, double error, const std::vector<double>& steps,
                     double& sum, double& bound, std::vector<double>& step_sums);
};

// Adds every marking of the list to each of the sums, in the list's order.
void AccumulateRatings(PtrList<Marking>& list, const std::vector<RatingSums*>& sums);
