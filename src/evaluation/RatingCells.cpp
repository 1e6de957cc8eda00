// The values of measure expressions: rating cells are evaluated over the
// exponential markings and the members of every subordinated chain; the
// operators are applied through the expression cells themselves, so that a
// measure computes exactly as any other expression of the net.
#include "evaluation/NetEvaluation.h"

#include "evaluation/RatingAccumulation.h"
#include "netmodel/BinaerOp.h"
#include "netmodel/UnaerOp.h"
#include "solution/SolveLGS.h"
#include "statedata/StateSpaceGlobals.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace {

// A transition fires at a rate only where every edge is exponential: a
// throughput sums over the exponential markings alone.
void AccumulateChains(PtrList<SMChain>& chains, const std::vector<RatingSums*>& sums)
{
    for (PLElement<SMChain>* c = chains.first; c; c = c->next)
        if (c->item->GetMarkings().count != 0) AccumulateRatings(c->item->GetMarkings(), sums);
}

bool Conditional(const RatingSums& s)
{
    return s.type == BayesProbability || s.type == BayesExpectation;
}

double ValueOf(const RatingSums& s)
{
    if (Conditional(s)) return s.Q == 0.0 ? 0.0 : s.S / s.Q;
    return s.S;
}

// S / Q moves by (dS - (S / Q) dQ) / Q to first order.
double ErrorOf(const RatingSums& s)
{
    if (!Conditional(s)) return s.dS;
    if (s.Q == 0.0) return 0.0;
    return (s.dS + std::fabs(s.S / s.Q) * s.dQ) / std::fabs(s.Q);
}

double StepOf(const RatingSums& s, std::size_t k)
{
    if (!Conditional(s)) return s.stepS[k];
    if (s.Q == 0.0) return 0.0;
    return (s.stepS[k] - s.S / s.Q * s.stepQ[k]) / s.Q;
}

}  // namespace

void RatingCellsOf(Cell* cell, std::vector<Cell*>& found)
{
    if (!cell) return;
    switch (cell->GetCellType()) {
        case UnaerOpCell:
            RatingCellsOf(cell->GetOpd(), found);
            break;
        case BinaerOpCell:
            RatingCellsOf(cell->GetLeftOpd(), found);
            RatingCellsOf(cell->GetRightOpd(), found);
            break;
        case RatingCellCell:
            if (std::find(found.begin(), found.end(), cell) == found.end()) found.push_back(cell);
            break;
        default:
            break;
    }
}

RatingValues EvaluateRatingCells(const std::vector<Cell*>& measures, RatingErrors& errors)
{
    RatingValues values;
    std::deque<RatingSums> sums;
    for (Cell* m : measures) {
        std::vector<Cell*> cells;
        RatingCellsOf(m, cells);
        for (Cell* cell : cells)
            if (values.emplace(cell, 0.0).second) sums.emplace_back(cell);
    }
    std::vector<RatingSums*> all, inChains;
    for (RatingSums& s : sums) {
        all.push_back(&s);
        if (s.type != Throughput) inChains.push_back(&s);
    }
    AccumulateRatings(MLists.exp_markings, all);
    AccumulateChains(MLists.det_smcs, inChains);
    AccumulateChains(MLists.gen_smcs, inChains);
    // The workers truncate the series of deterministic and general
    // transitions: their chains' rows carry an error that no step of the
    // solver shows (the deterministic family with N=8 at 1e-9: 1e-11 of
    // the measure beside the solver's 3.6e-11), so there only the bounds in
    // magnitude, which are far from tight, stand.
    bool truncated = MLists.det_smcs.count != 0 || MLists.gen_smcs.count != 0;
    errors.steps.assign(truncated ? 0 : pi_error_steps.size(), {});
    for (const RatingSums& s : sums) {
        values[s.cell] = ValueOf(s);
        errors.bounds[s.cell] = ErrorOf(s);
        for (std::size_t k = 0; k < errors.steps.size(); ++k) errors.steps[k][s.cell] = StepOf(s, k);
    }
    return values;
}

double SubstitudeRatingCells(Cell* cell, const RatingValues& values)
{
    if (!cell) return 0.0;
    switch (cell->GetCellType()) {
        case ConstValCell:
        case FunctionCell:
            return cell->CalculateFloat();
        case UnaerOpCell:
            return UnaerOp(cell->GetOp(), SubstitudeRatingCells(cell->GetOpd(), values)).CalculateFloat();
        case BinaerOpCell: {
            double left = SubstitudeRatingCells(cell->GetLeftOpd(), values);
            double right = SubstitudeRatingCells(cell->GetRightOpd(), values);
            return BinaerOp(cell->GetOp(), left, right).CalculateFloat();
        }
        case RatingCellCell:
            return values.at(cell);
        default:
            return -1.0;
    }
}
