// NumericGuard: a guard whose every value is a plain number (constants,
// token counts of places, arithmetic, comparisons, logic), flattened once into
// a postfix program on doubles. It answers exactly what evaluating the cell
// tree answers, without the heap-allocated values of the tree's evaluation:
// guards are asked for every binding at every generated marking. Trees with
// multisets, texts or anything else stay with the tree's evaluation, which
// also keeps all of its reports.
#pragma once

#include <vector>

#include "netmodel/Cell.h"
#include "netmodel/Function.h"
#include "netmodel/NumberOperators.h"

class NumericGuard {
public:
    // Evaluation keeps its operands on a fixed stack of this many numbers;
    // a tree needing more stays with the tree's evaluation.
    static constexpr int kMaxDepth = 64;

    // Flattens `root`; empty when the tree is not purely numeric or needs
    // too deep a stack.
    void Compile(const Cell* root);
    bool IsCompiled() const { return !program.empty(); }
    // The value the tree's Calculate() (onNew false) or NewCalculate() gives.
    double Evaluate(bool onNew) const
    {
        return EvaluateWith([onNew](const Function& f) { return f.Count(onNew); });
    }
    // The same with each count taken from countOf(function), for markings
    // that are not loaded into the places: called once for every count, in
    // the order AllCounts visits them.
    template <class CountOf>
    double EvaluateWith(CountOf countOf) const
    {
        if (countAgainstConstant)
            return ApplyNumberOperator(program[2].op, countOf(*program[0].count), program[1].value);
        return EvaluateProgram(countOf);
    }
    // Whether test(function) holds for every count the guard reads.
    template <class Test>
    bool AllCounts(Test test) const
    {
        for (const Step& s : program)
            if (s.kind == Kind::Count && !test(*s.count)) return false;
        return true;
    }

private:
    enum class Kind : unsigned char { Constant, Count, Not, Negate, Binary };
    struct Step {
        Kind kind;
        Operator op;
        double value;
        const Function* count;
    };

    bool Flatten(const Cell* c);
    int DeepestStack() const;
    template <class CountOf>
    double EvaluateProgram(CountOf countOf) const;

    std::vector<Step> program;
    // The most common guard, a place's count against a constant (#p = 2),
    // is answered without the stack.
    bool countAgainstConstant = false;
};

template <class CountOf>
double NumericGuard::EvaluateProgram(CountOf countOf) const
{
    // Compile() admitted only programs whose operands fit.
    double stack[kMaxDepth];
    int top = 0;
    for (const Step& s : program) {
        switch (s.kind) {
            case Kind::Constant:
                stack[top++] = s.value;
                break;
            case Kind::Count:
                stack[top++] = countOf(*s.count);
                break;
            case Kind::Not:
                stack[top - 1] = stack[top - 1] == 0.0 ? 1.0 : 0.0;
                break;
            case Kind::Negate:
                stack[top - 1] = -stack[top - 1];
                break;
            case Kind::Binary:
                --top;
                stack[top - 1] = ApplyNumberOperator(s.op, stack[top - 1], stack[top]);
                break;
        }
    }
    return stack[0];
}
