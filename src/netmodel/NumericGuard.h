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
        if (countAgainstConstant)
            return ApplyNumberOperator(program[2].op, program[0].count->Count(onNew),
                                       program[1].value);
        return EvaluateProgram(onNew);
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
    double EvaluateProgram(bool onNew) const;

    std::vector<Step> program;
    // The most common guard, a place's count against a constant (#p = 2),
    // is answered without the stack.
    bool countAgainstConstant = false;
};
