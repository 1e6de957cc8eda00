// The operators that take over their operands (the reader's construction
// path) against the copying ones, and the depth every cell keeps.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "FatalReport.h"
#include "Multisets.h"
#include "netmodel/BinaerOp.h"
#include "netmodel/ConstVal.h"
#include "netmodel/Function.h"
#include "netmodel/RatingCell.h"
#include "netmodel/UnaerOp.h"

namespace {

constexpr const char* kFile = "Pendra/src/Cell";

// Leaves of every result type an operand can have.
std::vector<std::unique_ptr<Cell>> Leaves()
{
    auto plain = Ms({{0, 1}});
    auto coloured = Ms({{1, 1}});
    std::vector<std::unique_ptr<Cell>> leaves;
    leaves.emplace_back(new Function(CountOp, Str("p")));
    leaves.emplace_back(new Function(ContentsOp, Str("p")));
    leaves.emplace_back(new ConstVal(plain.get()));
    leaves.emplace_back(new ConstVal(coloured.get()));
    leaves.emplace_back(new UnaerOp(NotOp, 0));
    leaves.emplace_back(new ConstVal(2));
    return leaves;
}

// A measure of each kind takes an adopted operand exactly when it takes a
// copy of the same operand: the type an adopted operator remembers is the
// one its walk gives.
TEST(AdoptingCells, RememberTheResultTypeTheirWalkGives)
{
    auto leaves = Leaves();
    const Operator operators[] = {PlusOp, MinusOp, TimesOp, DivideOp, LessOp, AndOp};
    const RatingType measures[] = {Probability, Expectation, BayesExpectation};
    int compared = 0;
    for (Operator op : operators)
        for (auto& l : leaves)
            for (auto& r : leaves) {
                BinaerOp copied(op, l.get(), r.get());
                bool mismatched = (l->GetResultType() == ElementaryMultiset &&
                                   r->GetResultType() == ProductMultiset) ||
                                  (l->GetResultType() == ProductMultiset &&
                                   r->GetResultType() == ElementaryMultiset);
                if (mismatched && op != LessOp && op != AndOp) continue;
                for (RatingType t : measures) {
                    RatingCell byCopy(t, &copied, nullptr);
                    auto* fresh = new BinaerOp(op, l->Copy(), r->Copy(), AdoptOperands{});
                    auto* negated = new UnaerOp(MinusOp, fresh, AdoptOperands{});
                    RatingCell byAdoption(t, negated, nullptr, AdoptOperands{});
                    EXPECT_EQ(byAdoption.GetCell1() != nullptr, byCopy.GetCell1() != nullptr)
                        << "operator " << static_cast<char>(op) << ", measure " << t;
                    ++compared;
                }
            }
    EXPECT_GT(compared, 500);
}

TEST(AdoptingCellsDeathTest, ReportAMismatchInsideAnOperandWhenItIsUsed)
{
    auto plain = Ms({{0, 1}});
    auto coloured = Ms({{1, 1}});
    auto* mixed =
        new BinaerOp(PlusOp, new ConstVal(plain.get()), new ConstVal(coloured.get()), AdoptOperands{});
    EXPECT_NET_FATAL(BinaerOp(TimesOp, mixed, new ConstVal(2), AdoptOperands{}), kFile, 343,
                     "BinaerOp::GetResultType()", "e_mset_expr op p_mset_expr");
    EXPECT_NET_FATAL(UnaerOp(MinusOp, new ConstVal("T1"), AdoptOperands{}), kFile, 117,
                     "UnaerOp::UnaerOp(Operator, const Cell*)", "can't calculate textual cells");
    delete mixed;
}

TEST(AdoptingCells, TakeTheOperandsThemselves)
{
    auto* left = new ConstVal(2);
    auto* right = new BinaerOp(PlusOp, 1, 2);
    BinaerOp sum(PlusOp, left, right, AdoptOperands{});
    EXPECT_EQ(sum.GetLeftOpd(), left);
    EXPECT_EQ(sum.GetRightOpd(), right);
    EXPECT_EQ(sum.CalculateFloat(), 5.0);
    auto* text = new ConstVal("T1");
    RatingCell rejected(Probability, text, nullptr, AdoptOperands{});  // text released
    EXPECT_EQ(rejected.GetCell1(), nullptr);
}

TEST(CellDepth, IsKeptThroughConstructionCopiesAndChanges)
{
    EXPECT_EQ(ConstVal(1).GetDepth(), 1);
    EXPECT_EQ(BinaerOp(PlusOp, 1, 2).GetDepth(), 2);
    Cell* chain = new ConstVal(1);
    for (int k = 0; k < 1000; ++k)
        chain = new BinaerOp(PlusOp, chain, new ConstVal(1), AdoptOperands{});
    chain = new UnaerOp(MinusOp, chain, AdoptOperands{});
    RatingCell measure(Expectation, chain, nullptr, AdoptOperands{});
    EXPECT_EQ(measure.GetDepth(), 1003);
    EXPECT_EQ(measure.CalculateFloat(), -1001.0);

    std::unique_ptr<Cell> copy(measure.Copy());
    EXPECT_EQ(copy->GetDepth(), 1003);
    UnaerOp shallow(MinusOp, 1);
    shallow = static_cast<const UnaerOp&>(*measure.GetCell1());
    EXPECT_EQ(shallow.GetDepth(), 1002);
    shallow.Clear();
    EXPECT_EQ(shallow.GetDepth(), 2);
    measure.Clear();
    EXPECT_EQ(measure.GetDepth(), 1);
}

}  // namespace
