// The values of measure expressions: rating cells are evaluated over the
// exponential markings and the members of every subordinated chain; the
// operators are applied through the expression cells themselves, so that a
// measure computes exactly as any other expression of the net.
#include "evaluation/NetEvaluation.h"

#include "evaluation/RatingAccumulation.h"
#include "netmodel/BinaerOp.h"
#include "netmodel/UnaerOp.h"
#include "statedata/StateSpaceGlobals.h"

void EvaluateList(PtrList<Marking>& list, Cell* cell, double& Q, double& S)
{
    switch (cell->GetRatingType()) {
        case Probability:
            EvaluateProbability(list, cell, S);
            break;
        case Expectation:
            EvaluateExpectVal(list, cell, S);
            break;
        case BayesProbability:
            EvaluateBayesP(list, cell, Q, S);
            break;
        case BayesExpectation:
            EvaluateBayesE(list, cell, Q, S);
            break;
        case Throughput:
            EvaluateThroughPut(list, cell, S);
            break;
        default:
            break;
    }
}

namespace {

void EvaluateChains(PtrList<SMChain>& chains, Cell* cell, double& Q, double& S)
{
    for (PLElement<SMChain>* c = chains.first; c; c = c->next)
        if (c->item->GetMarkings().count != 0) EvaluateList(c->item->GetMarkings(), cell, Q, S);
}

}  // namespace

double EvaluateRatingCell(Cell* cell)
{
    double Q = 0.0;
    double S = 0.0;
    EvaluateList(MLists.exp_markings, cell, Q, S);
    int type = cell->GetRatingType();
    // A transition fires at a rate only where every edge is exponential.
    if (type == Throughput) return S;
    EvaluateChains(MLists.det_smcs, cell, Q, S);
    EvaluateChains(MLists.gen_smcs, cell, Q, S);
    if (type == BayesProbability || type == BayesExpectation) return Q == 0.0 ? 0.0 : S / Q;
    return S;
}

double SubstitudeRatingCells(Cell* cell)
{
    if (!cell) return 0.0;
    switch (cell->GetCellType()) {
        case ConstValCell:
        case FunctionCell:
            return cell->CalculateFloat();
        case UnaerOpCell:
            return UnaerOp(cell->GetOp(), SubstitudeRatingCells(cell->GetOpd())).CalculateFloat();
        case BinaerOpCell: {
            double left = SubstitudeRatingCells(cell->GetLeftOpd());
            double right = SubstitudeRatingCells(cell->GetRightOpd());
            return BinaerOp(cell->GetOp(), left, right).CalculateFloat();
        }
        case RatingCellCell:
            return EvaluateRatingCell(cell);
        default:
            return -1.0;
    }
}
