// The reader's bounds on expression depth and cells.
#include "language/ExpressionLimits.h"

#include "language/ReaderReports.h"
#include "netmodel/Cell.h"

namespace {

std::size_t cells_at_start = 0;

}  // namespace

void StartExpressionBudget() { cells_at_start = Cell::CellsBuilt(); }

Cell* WithinExpressionLimits(Cell* cell)
{
    if (cell->GetDepth() > kMaxExpressionDepth) YaccError("expression nested too deeply");
    if (Cell::CellsBuilt() - cells_at_start > kMaxExpressionCells)
        YaccError("too many expression cells (max = 4000000)");
    return cell;
}
