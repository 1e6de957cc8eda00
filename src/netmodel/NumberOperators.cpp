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
