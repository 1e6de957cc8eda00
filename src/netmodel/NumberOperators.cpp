// Binary operators on plain numbers.
#include "netmodel/NumberOperators.h"

bool IsComparisonOrLogic(Operator op)
{
    switch (op) {
    case LessOp:
    case EqualOp:
    case GreaterOp:
    case GreaterEqualOp:
    case LessEqualOp:
    case NotEqualOp:
    case AndOp:
    case OrOp:
        return true;
    default:
        return false;
    }
}

bool IsNumberOperator(Operator op)
{
    return op == PlusOp || op == MinusOp || op == TimesOp || op == DivideOp ||
           IsComparisonOrLogic(op);
}

double ApplyNumberOperator(Operator op, double a, double b)
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
