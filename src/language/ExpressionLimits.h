// Limits on the expressions of one description. Every walk over an
// expression tree (evaluation, copies, comparisons, the class check)
// recurses once per level, so the depth stays far below what the stack
// holds. Each use of a definition copies its tree, so a few lines of
// definitions built on each other could ask for more cells than memory
// holds: the cells copied from definitions are bounded, and so are all the
// cells of a description. All three lie far above any real model.
#pragma once

#include <cstddef>

class Cell;

constexpr int kMaxExpressionDepth = 10000;
constexpr std::size_t kMaxCopiedCells = 1000000;
constexpr std::size_t kMaxExpressionCells = 4000000;

// Starts counting the cells of a new description.
void StartExpressionBudget();

// `cell`, just built by the grammar. Reports "expression nested too deeply"
// when its tree has more than kMaxExpressionDepth levels, and "too many
// expression cells" when the description has built more than
// kMaxExpressionCells cells.
Cell* WithinExpressionLimits(Cell* cell);

// A copy of a definition's cell for one use of its name; reports "too many
// cells copied from definitions" when such copies have built more than
// kMaxCopiedCells cells.
Cell* CopyForUse(const Cell& definition);
