// The reader's bounds on expression depth and cells.
#include "language/ExpressionLimits.h"

#include "language/ReaderReports.h"
#include "netmodel/Cell.h"

namespace {

std::size_t cells_at_start = 0;
std::size_t cells_copied = 0;

}  // namespace

void StartExpressionBudget()
{
    cells_at_start = Cell::CellsBuilt();
    cells_copied = 0;
}

Cell* WithinExpressionLimits(Cell* cell)
{
    if (cell->GetDepth() > kMaxExpressionDepth) YaccError("expression nested too deeply");
    if (Cell::CellsBuilt() - cells_at_start > kMaxExpressionCells)
        YaccError("too many expression cells (max = 4000000)");
    return cell;
}

Cell* CopyForUse(const Cell& definition)
{
    std::size_t before = Cell::CellsBuilt();
    Cell* copy = definition.Copy();
    cells_copied += Cell::CellsBuilt() - before;
    if (cells_copied > kMaxCopiedCells)
        YaccError("too many cells copied from definitions (max = 1000000)");
    return WithinExpressionLimits(copy);
}
