// The binary operators of the expression language on two plain numbers:
// arithmetic, comparisons and logic, truth values being 1 and 0. Shared by
// the numeric evaluation of operator cells and the flattened guards.
#pragma once

#include "netmodel/Cell.h"

// The operators whose result is a truth value, whatever the operands.
bool IsComparisonOrLogic(Operator op);
bool IsNumberOperator(Operator op);
// `op` is a number operator; a division by zero answers the dividend (the
// callers that must report it check first).
double ApplyNumberOperator(Operator op, double a, double b);
