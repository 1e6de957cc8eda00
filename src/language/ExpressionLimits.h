// Limits on the expressions of one description. Every walk over an
// expression tree (evaluation, copies, comparisons, the class check)
// recurses once per level, so the depth stays far below what the stack
// holds; and since each use of a definition copies its tree, a few lines of
// definitions built on each other could ask for more cells than memory
// holds, so the cells one description may build are bounded too. Both lie
// far above any real model.
#pragma once

#include <cstddef>

class Cell;

constexpr int kMaxExpressionDepth = 10000;
constexpr std::size_t kMaxExpressionCells = 4000000;

// Starts counting the cells of a new description.
void StartExpressionBudget();

// Reports "expression nested too deeply" when the tree of `cell` has more
// than kMaxExpressionDepth levels, and "too many expression cells" when the
// description has built more than kMaxExpressionCells cells; returns `cell`.
Cell* WithinExpressionLimits(Cell* cell);
