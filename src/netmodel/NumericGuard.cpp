// Flattening of numeric guards and their evaluation on a stack of doubles.
// Each step reproduces the number semantics of the values (FloatVal): a
// division by zero gives the dividend, truth values are 1 and 0, and both
// operands of a logical operator are always evaluated.
#include "netmodel/NumericGuard.h"

#include "netmodel/FloatVal.h"

void NumericGuard::Compile(const Cell* root)
{
    program.clear();
    if (!root || !Flatten(root) || DeepestStack() > kMaxDepth) program.clear();
    countAgainstConstant = program.size() == 3 && program[0].kind == Kind::Count &&
                           program[1].kind == Kind::Constant && program[2].kind == Kind::Binary;
}

int NumericGuard::DeepestStack() const
{
    int top = 0;
    int deepest = 0;
    for (const Step& s : program) {
        if (s.kind == Kind::Constant || s.kind == Kind::Count) ++top;
        if (s.kind == Kind::Binary) --top;
        if (top > deepest) deepest = top;
    }
    return deepest;
}

bool NumericGuard::Flatten(const Cell* c)
{
    switch (c->GetCellType()) {
        case ConstValCell: {
            const auto* number = dynamic_cast<const FloatVal*>(c->GetConstCellVal());
            if (!number) return false;
            program.push_back({Kind::Constant, NoOp, number->GetFloat(), nullptr});
            return true;
        }
        case FunctionCell: {
            if (c->GetConstOp() != CountOp) return false;
            program.push_back({Kind::Count, CountOp, 0.0, static_cast<const Function*>(c)});
            return true;
        }
        case UnaerOpCell: {
            Operator op = c->GetConstOp();
            if (op != NotOp && op != MinusOp) return false;
            if (!Flatten(c->GetConstOpd())) return false;
            program.push_back({op == NotOp ? Kind::Not : Kind::Negate, op, 0.0, nullptr});
            return true;
        }
        case BinaerOpCell: {
            Operator op = c->GetConstOp();
            if (!IsNumberOperator(op)) return false;
            if (!Flatten(c->GetConstLeftOpd()) || !Flatten(c->GetConstRightOpd())) return false;
            program.push_back({Kind::Binary, op, 0.0, nullptr});
            return true;
        }
        default:
            return false;
    }
}
