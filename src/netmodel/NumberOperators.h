// The binary operators of the expression language on two plain numbers:
// arithmetic, comparisons and logic, truth values being 1 and 0. Shared by
// the numeric evaluation of operator cells and the flattened guards.
#pragma once

#include "netmodel/Cell.h"

// The operators whose result is a truth value, whatever the operands.
bool IsComparisonOrLogic(Operator op);
bool IsNumberOperator(Operator op);
// `op` is a number operator; a division by zero answers the dividend (the
// callers that must report it check first). Inline: guards are evaluated at
// every binding of every generated marking.
inline double ApplyNumberOperator(Operator op, double a, double b)
{
    switch (op) {
        case PlusOp:
            return a + b;
        case MinusOp:
            return a - b;
        case TimesOp:
            return a * b;
        case DivideOp:
            return b == 0.0 ? a : a / b;
        case LessOp:
            return a < b ? 1.0 : 0.0;
        case EqualOp:
            return a == b ? 1.0 : 0.0;
        case GreaterOp:
            return a > b ? 1.0 : 0.0;
        case GreaterEqualOp:
            return a >= b ? 1.0 : 0.0;
        case LessEqualOp:
            return a <= b ? 1.0 : 0.0;
        case NotEqualOp:
            return a != b ? 1.0 : 0.0;
        case AndOp:
            return a != 0.0 && b != 0.0 ? 1.0 : 0.0;
        default:  // OrOp: the callers admit nothing else
            return a != 0.0 || b != 0.0 ? 1.0 : 0.0;
    }
}
